#include "engine/engine_line.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "rules/notation.h"
#include "rules/position.h"

namespace {

// Longer words are no move text: four squares' characters and a letter, with room to spare.
constexpr uint32_t MAX_MOVE_WORD = 15;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

Piece promotionPiece(char letter, char targetRank) {
    const char upper = letter >= 'a' && letter <= 'z' ? char(letter - 'a' + 'A') : letter;
    if (upper != 'Q' && upper != 'R' && upper != 'B' && upper != 'N') return EMPTY;
    const Piece white = pieceFromLetter(upper);
    return targetRank == '1' ? Piece(white + 8) : white;
}

// Walks the words of a line: each call gives the next word, false at the end.
class Words {
public:
    explicit Words(const char* line) : m_next(line ? line : "") {}
    bool next(const char*& start, uint32_t& length) {
        while (isBlank(*m_next))
            ++m_next;
        if (!*m_next) return false;
        start = m_next;
        while (*m_next && !isBlank(*m_next))
            ++m_next;
        length = uint32_t(m_next - start);
        return true;
    }

private:
    const char* m_next;
};

char lastVisible(const char* line) {
    char last = 0;
    for (const char* c = line; c && *c; ++c) {
        if (!isBlank(*c)) last = *c;
    }
    return last;
}

} // namespace

CMove engineMove(CPosition& position, const char* text) {
    if (!text) return NO_MOVE;
    while (isBlank(*text))
        ++text;
    if (!text[0] || !text[1] || !text[2] || !text[3]) return NO_MOVE;
    const Square from = squareFromText(text);
    const Square to = squareFromText(text + 2);
    if (!onBoard(from) || !onBoard(to)) return NO_MOVE;
    const Piece promotion = text[4] ? promotionPiece(text[4], text[3]) : Piece(EMPTY);
    return position.findMove(from, to, promotion);
}

CText boundedLine(const char* line, uint32_t maxLength) {
    if (!line) return CText();
    if (std::strlen(line) <= maxLength) return CText(line);
    // The whole moves that end within the bound; a word cut in two would be no move.
    uint32_t end = 0;
    Words words(line);
    const char* start = nullptr;
    uint32_t length = 0;
    while (words.next(start, length) && uint32_t(start - line) + length <= maxLength) {
        end = uint32_t(start - line) + length;
    }
    std::string kept(line, end);
    return CText(kept.c_str());
}

CText numberedSanLine(CPosition& position, int32_t firstPly, const char* line, uint32_t maxLength) {
    CText text;
    Words words(line);
    const char* start = nullptr;
    uint32_t length = 0;
    int32_t made = 0;
    char word[MAX_MOVE_WORD + 1];
    while (words.next(start, length) && length <= MAX_MOVE_WORD) {
        std::memcpy(word, start, length);
        word[length] = 0;
        const CMove move = engineMove(position, word);
        if (move == NO_MOVE) break;
        const int32_t ply = firstPly + made;
        const bool whiteMoves = position.sideToMove() == WHITE;
        char number[24] = "";
        if (made == 0) {
            std::snprintf(number, sizeof number, whiteMoves ? "%d." : "%d..", (ply + 2) / 2);
        } else if (whiteMoves) {
            std::snprintf(number, sizeof number, " %d.", (ply + 2) / 2);
        } else {
            std::snprintf(number, sizeof number, " ");
        }
        const CText san = sanText(position, move, true);
        if (text.length() + std::strlen(number) + san.length() > maxLength) break;
        if (!position.makeMove(move)) break;
        text += number;
        text += san;
        ++made;
    }
    for (int32_t i = 0; i < made; ++i)
        position.takeBack();
    const char last = lastVisible(line);
    if (made > 0 && (last == '!' || last == '?') && text.length() < maxLength) text += last;
    return text;
}
