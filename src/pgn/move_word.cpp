#include "pgn/move_word.h"

#include <algorithm>
#include <cstring>

#include "pgn/pgn_lexer.h"
#include "rules/notation.h"
#include "rules/position.h"

namespace {

const char EN_PASSANT_MARK[] = "e.p.";

uint8_t suffixGlyph(const std::string& suffix) {
    static const char* const SUFFIXES[] = {"!", "?", "!!", "??", "!?", "?!"};
    for (int i = 0; i < 6; ++i)
        if (suffix == SUFFIXES[i]) return uint8_t(i + 1);
    return 0;
}

bool hasEnPassantMark(const std::string& word) {
    constexpr size_t length = sizeof EN_PASSANT_MARK - 1;
    return word.size() > length && word.back() == '.' &&
           word.compare(word.size() - length, length, EN_PASSANT_MARK) == 0;
}

bool isNullMoveText(const std::string& text) {
    return text.size() == 2 &&
           ((text[0] == '-' && text[1] == '-') || (text[0] == 'Z' && text[1] == '0'));
}

} // namespace

bool isResultWord(const char* text) {
    // Asked of every word of a file: most are moves, which never start with a digit.
    if (text[0] != '0' && text[0] != '1') return false;
    return std::strcmp(text, "1-0") == 0 || std::strcmp(text, "0-1") == 0 ||
           std::strcmp(text, "1/2-1/2") == 0;
}

bool startsWithMoveNumber(const char* text) {
    for (; *text >= '0' && *text <= '9'; ++text)
        if (*text != '0') return true;
    return false;
}

bool readMoveWord(CPosition& position, const std::string& word, CMoveWord& read) {
    // "exd6e.p.": the en-passant mark written onto the move, which only an
    // en-passant capture may carry.
    if (hasEnPassantMark(word)) {
        const std::string capture = word.substr(0, word.size() - (sizeof EN_PASSANT_MARK - 1));
        return readMoveWord(position, capture, read) && read.move.isEnPassant();
    }
    if (word.empty() || word.size() > MAX_MOVE_TEXT) return false;
    for (char c : word)
        if (!CPgnLexer::isSymbolChar(static_cast<unsigned char>(c))) return false;

    // The first run of "!" and "?" becomes the glyph; the text keeps the rest of
    // the word without any of them (the move never depends on them), so that
    // written back with its glyph as "$n" it reads as the same text.
    const size_t suffixStart = word.find_first_of("!?");
    std::string suffix;
    if (suffixStart != std::string::npos) {
        const size_t suffixEnd = std::min(word.find_first_not_of("!?", suffixStart), word.size());
        suffix = word.substr(suffixStart, suffixEnd - suffixStart);
    }
    std::string text = word;
    text.erase(
        std::remove_if(text.begin(), text.end(), [](char c) { return c == '!' || c == '?'; }),
        text.end());

    CMove move = NO_MOVE;
    if (isNullMoveText(text)) {
        if (position.inCheck()) return false;
        move = NULL_MOVE;
        text = "--";
    } else {
        move = parseSan(position, word.c_str());
        if (move == NO_MOVE) return false;
    }
    // Written back, a text that starts like a move number (a form such as 2f4
    // with the origin rank first) or is a result would be read as one.
    if (text.empty() || startsWithMoveNumber(text.c_str()) || isResultWord(text.c_str()))
        return false;
    read.move = move;
    read.text = text;
    read.glyph = suffix.empty() ? 0 : suffixGlyph(suffix);
    return true;
}
