#pragma once
// CGame: a move tree with its PGN tags and the options that decide how the
// game is rendered as text. The program's concrete game is CPgnGame
// (pgn/pgn_game.h), which renders PGN.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "base/text.h"
#include "game/move_node.h"

struct CTagPair {
    CText name;
    CText value;
};

// The PGN seven-tag roster, in the order a new game holds it and files carry it.
extern const char* const ROSTER_TAGS[7];

class CGame {
public:
    CGame();
    virtual ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    virtual void setOptions(int32_t lineWidth, bool writeTags, bool writeVariations,
                            bool writeComments, bool writeNagNumbers, bool writeNagSymbols);
    virtual void getOptions(int32_t& lineWidth, bool& writeTags, bool& writeVariations,
                            bool& writeComments, bool& writeNagNumbers,
                            bool& writeNagSymbols) const;
    // Every node, root included, in pre-order; nothing when there is no root.
    // The visitor may change nodes but not the shape of the tree.
    virtual void forEachNode(CNodeVisitor& visitor);
    // The base game renders nothing; CPgnGame renders PGN.
    virtual CText toString();
    // Writes toString() unchanged; the stream's state tells whether that worked.
    virtual void writeTo(std::ostream& stream);

    // Tags: names compare exactly, a name occurs at most once, order is insertion order.
    CText tag(const char* name) const;
    void setTag(const char* name, const CText& value);
    // Adds the pair just before the tag named before (at the end when there is
    // none); nothing when the game has a tag of that name already.
    void insertTagBefore(const char* name, const CText& value, const char* before);
    const std::vector<CTagPair>& tags() const { return m_tags; }
    // Puts back tags taken from tags() (a dialog that is cancelled).
    void restoreTags(const std::vector<CTagPair>& tags) { m_tags = tags; }
    // Names of the tags, in tag order, that are not in known.
    std::vector<CText> otherTagNames(const std::vector<CText>& known) const;

    CText event() const { return tag("Event"); }
    CText site() const { return tag("Site"); }
    CText date() const { return tag("Date"); }
    CText white() const { return tag("White"); }
    CText black() const { return tag("Black"); }
    CText result() const { return tag("Result"); }
    CText eco() const { return tag("ECO"); }
    void setEvent(const CText& value) { setTag("Event", value); }
    void setSite(const CText& value) { setTag("Site", value); }
    void setDate(const CText& value) { setTag("Date", value); }
    void setRound(const CText& value) { setTag("Round", value); }
    void setWhite(const CText& value) { setTag("White", value); }
    void setBlack(const CText& value) { setTag("Black", value); }
    void setResult(const CText& value) { setTag("Result", value); }

    // Destroys the current tree and takes ownership of node.
    void setRoot(CMoveNode* node);
    CMoveNode* root() const { return m_root.get(); }
    // Follows child 0 from the root; the root itself when it has no children.
    CMoveNode* mainLineEnd() const;
    // The node whose last rendered text holds position; never the root.
    CMoveNode* nodeAtTextPosition(uint32_t position) const;

    // What reading left out of the text the game came from, in words for the
    // user ("move 12... Nxe9 and what follows: kept in a comment"); empty when
    // it read whole.
    CText leftOut;

    // Rendering options.
    int32_t lineWidth = 40;
    bool writeTags = true;
    bool writeVariations = true;
    bool writeComments = true;
    bool writeNagNumbers = true;
    bool writeNagSymbols = false;

    // Rendering state, meaningful only while the game is being rendered.
    int32_t column = 0;
    bool forceMoveNumber = false;
    bool noSpaceBeforeNumber = false;

private:
    std::unique_ptr<CMoveNode> m_root;
    std::vector<CTagPair> m_tags;
};
