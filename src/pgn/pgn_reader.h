#pragma once
// CPgnReader: turns the text of one game in a PGN file into a CPgnGame.
//
// Every move is checked against the rules in a position of the reader's own,
// and builds the move tree with its variations, comments and glyphs. The
// reader takes much more than the layout the writer produces: unquoted and
// half-escaped tag values, move numbers in any form, "!"/"?" suffixes, moves
// repeated inside variations (merged into the existing child), comments and
// glyphs anywhere between moves, null moves, games without a result. Variations
// are read with a stack on the heap, so any nesting depth is safe.
//
// A move that does not read loses as little as it can: inside a variation the
// rest of that variation is skipped; in the main line the main line ends there
// and the unread rest of the game's text becomes a comment of the last move
// that read, so that saving the game writes it back. Such a game reads in part,
// and the report says what was left out.

#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "pgn/game_reader.h"
#include "pgn/move_word.h"
#include "pgn/pgn_game.h"
#include "pgn/pgn_lexer.h"
#include "rules/position.h"

// What the last read made of its game.
struct CReadReport {
    enum class Outcome { WHOLE, IN_PART, FAILED };
    Outcome outcome = Outcome::WHOLE;
    // Where reading first stopped: the word that did not read ("Nxe9", ")";
    // empty when the text ended), the number of the move it stood for, and
    // whether it was Black's.
    std::string stoppedAt;
    int moveNumber = 0;
    bool blackMove = false;
    // How many places of the game's text did not read.
    int gaps = 0;
    // All of it in words, for the user: why the game failed, or what was left out.
    std::string message;
};

class CPgnReader : public CGameReader {
public:
    CPgnReader();
    ~CPgnReader() override;

    bool readGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                  std::unique_ptr<CGame>& game) override;
    bool scanGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                  std::unique_ptr<CGame>& game) override;
    int64_t firstGameOffset(std::istream& stream, int64_t offset) override;
    int scannedPlies() const override { return m_scannedPlies; }

    // The report of the last readGame (a game read in part also carries its
    // message as the game's leftOut).
    const CReadReport& report() const { return m_report; }

private:
    struct Variation {
        CMoveNode* varied; // the move the variation is an alternative to
    };

    bool startGame(std::istream& stream, int64_t offset);
    bool startPosition();
    bool readTagPair();
    bool readMoveText();
    bool readElement();
    bool readMove();
    void readGlyphs();
    void readOptionalComment();
    void readResult();
    void skipComment();
    bool beginVariation();
    void endVariation();
    void skipEnPassantMark();
    bool recover();
    void skipRestOfVariation();
    void keepRestOfGame();
    void noteGap(const char* consequence);
    std::string gapText() const;
    void fail(const std::string& why);
    std::string currentWord() const;
    // The current SYMBOL token's word, or its first characters when read without text.
    const char* symbolWord() const;
    int64_t offsetAfterGame() const;

    bool advance(TokenKind hint) {
        if (!m_haveToken) return false;
        m_haveToken = m_lexer.nextToken(hint, m_current);
        return true;
    }
    bool is(TokenKind kind) const { return m_haveToken && m_current.kind == kind; }
    bool atResult() const;

    CPgnLexer m_lexer;
    std::streambuf* m_buffer = nullptr;
    std::unique_ptr<CPgnGame> m_game;
    CMoveNode* m_currentNode = nullptr;
    std::vector<Variation> m_variations; // one entry per open variation
    CToken m_current;
    bool m_haveToken = false;
    CText m_tagName;
    CText m_tagValue;
    bool m_hasResultTag = false;
    std::string m_comment;      // the comments being read, joined
    int64_t m_elementStart = 0; // where the element being read began
    std::string m_stoppedWord;  // the word that did not read as a move
    int64_t m_gameEnd = -1;     // set once the rest of the game has been read
    int m_scannedPlies = -1;
    CReadReport m_report;
    CPosition m_position;
};
