#pragma once
// CMoveNode: one half-move of a game's move tree, with the text it is shown
// with, its comment, its annotation glyph and the time spent on it.
//
// The first child is the main continuation, every further child a variation
// played instead of it from the same position. A node owns its children; the
// parent pointer never owns. Every walk over a subtree is iterative: a file
// can hold a main line of many thousand moves or variations nested as deep,
// and neither may cost stack.

#include <cstdint>
#include <vector>

#include "base/array.h"
#include "base/text.h"
#include "rules/move.h"

class CMoveNode;

// Called once for every node of a walk.
class CNodeVisitor {
public:
    virtual ~CNodeVisitor() = default;
    virtual void visit(CMoveNode& node) = 0;
};

class CMoveNode {
public:
    CMoveNode(CMove move, const CText& moveText, int16_t ply, const CText& comment, uint8_t nag,
              int64_t thinkTime);
    ~CMoveNode();
    CMoveNode(const CMoveNode&) = delete;
    CMoveNode& operator=(const CMoveNode&) = delete;

    // Appends child as the last child. False when the children block could
    // not grow: child then still belongs to the caller.
    bool addChild(CMoveNode* child);
    // Moves child to index 0, keeping the order of the others; nothing when
    // child is not a child of this node.
    void promoteChild(CMoveNode* child);
    // Removes child (a real child) and destroys its subtree.
    void deleteChild(CMoveNode* child);

    uint32_t subtreeSize() const;
    void setComment(const CText& text) { comment = text; }
    // "$14" for glyph 14; "" for 0.
    CText nagNumberText() const;
    // The glyphs to write: the list when its last entry is still nag (it was
    // read that way and nag has not changed since), nag alone otherwise.
    std::vector<uint8_t> glyphs() const;
    // "!", "?", "!!", "??", "!?", "?!" for glyphs 1 to 6; "" for every other.
    CText nagSymbolText() const;
    void clearTextRanges();
    // The first node in pre-order whose text range holds position, or null.
    CMoveNode* findByTextPosition(uint32_t position);
    // Visits this node, then every descendant in pre-order.
    void forEachNode(CNodeVisitor& visitor);

    CMoveNode* child(uint32_t index) const { return children[index]; }
    uint32_t childCount() const { return children.count(); }
    bool hasChildren() const { return !children.isEmpty(); }
    // The move number the node's move belongs to: (ply + 2) / 2.
    int moveNumber() const { return (ply + 2) / 2; }
    bool isWhiteMove() const { return (ply & 1) == 0; }

    CMove move;
    CText moveText;
    int16_t ply;
    CText comment;
    uint8_t nag;
    // Every glyph of the move in the order it was read ("$1 $14": 1, 14); nag
    // is the last of them. Empty for a node that never had more than nag.
    std::vector<uint8_t> nags;
    int64_t thinkTime;
    CMoveNode* parent;
    CArray<CMoveNode*> children;
    uint32_t textStart;
    uint32_t textEnd;
};

// The node after node in a pre-order walk of the subtree of top, or null when
// the walk is over. Needs no memory of its own: it climbs by parent pointers.
CMoveNode* nextInPreOrder(CMoveNode* node, const CMoveNode* top);
const CMoveNode* nextInPreOrder(const CMoveNode* node, const CMoveNode* top);

// Plies beyond this are not counted further: the ply is a 16-bit value.
constexpr int MAX_PLY = 32767;
