#pragma once
// CPgnReader: turns the text of one game in a PGN file into a CPgnGame.
//
// Every move is checked against the rules in a position of the reader's own,
// and builds the move tree with its variations, comments and glyphs. The
// reader takes much more than the layout the writer produces: unquoted and
// half-escaped tag values, move numbers in any form, "!"/"?" suffixes, moves
// repeated inside variations (merged into the existing child), comments
// anywhere between moves. Variations are read with a stack on the heap, so
// any nesting depth is safe.

#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "pgn/game_reader.h"
#include "pgn/pgn_game.h"
#include "pgn/pgn_lexer.h"
#include "rules/position.h"

// A move word longer than this is not a move: the notation reader looks at no
// more characters, and a longer word could not be written back on one line.
constexpr uint32_t MAX_MOVE_TEXT = 19;

class CPgnReader : public CGameReader {
public:
    CPgnReader();
    ~CPgnReader() override;

    bool readGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                  std::unique_ptr<CGame>& game) override;
    bool scanGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                  std::unique_ptr<CGame>& game) override;

private:
    struct Variation {
        CMoveNode* varied; // the move the variation is an alternative to
    };

    bool startGame(std::istream& stream, int64_t offset);
    bool readTagPair();
    bool readMoveText();
    bool readElement();
    bool readMove();
    void readGlyphs();
    void readOptionalComment();
    void skipComment();
    bool beginVariation();
    bool endVariation();
    void skipEnPassantMark();
    int64_t offsetAfterGame() const;

    bool advance(TokenKind hint) {
        if (!m_haveToken) return false;
        m_haveToken = m_lexer.nextToken(hint, m_current);
        return true;
    }
    bool is(TokenKind kind) const { return m_haveToken && m_current.kind == kind; }

    CPgnLexer m_lexer;
    std::unique_ptr<CPgnGame> m_game;
    CMoveNode* m_currentNode = nullptr;
    std::vector<Variation> m_variations; // one entry per open variation
    CToken m_current;
    bool m_haveToken = false;
    CText m_tagName;
    CText m_tagValue;
    std::string m_comment; // the comments being read, joined
    CPosition m_position;
};
