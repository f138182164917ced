#include "pgn/pgn_reader.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <new>
#include <string>

#include "pgn/text_encoding.h"

namespace {

// The writer turns every line break of a comment into a blank and breaks its
// lines at blanks; keeping runs of blanks and line breaks as one blank, and no
// blank at the end, makes a comment read back exactly as it was written. So
// does dropping the whitespace at its start that a dropped NUL byte uncovered:
// read back, it would be skipped. Comments that follow one another, wherever
// they stand, are joined with a blank.
void appendComment(std::string& joined, const char* body, size_t length) {
    const size_t before = joined.size();
    bool inBlank = false;
    for (size_t i = 0; i < length; ++i) {
        const char c = body[i];
        if (c == 0) continue; // texts are zero-terminated
        if (c == ' ' || c == '\r' || c == '\n' || (c == '\t' && joined.size() == before)) {
            inBlank = true;
            continue;
        }
        // A blank between words, and between this comment and the one before.
        if ((inBlank && joined.size() > before) || (joined.size() == before && before > 0))
            joined += ' ';
        inBlank = false;
        joined += c;
    }
}

// A word of the move text that stands for a move: not a move number ("12" before its
// period), a result, or a piece of an en-passant mark ("e", "p", "ep"); every move
// ("e4", "O-O", "0-0", the null move "--") has two characters at least.
bool isMoveShaped(const char* word) {
    return word[0] != 0 && word[1] != 0 && !startsWithMoveNumber(word) && !isResultWord(word) &&
           std::strcmp(word, "ep") != 0;
}

std::string moveNumberText(int number, bool black) {
    return std::to_string(number) + (black ? "..." : ".");
}

} // namespace

CPgnReader::CPgnReader() = default;
CPgnReader::~CPgnReader() = default;

bool CPgnReader::startGame(std::istream& stream, int64_t offset) {
    m_game.reset();
    m_variations.clear();
    m_haveToken = false;
    m_hasResultTag = false;
    m_gameEnd = -1;
    m_stoppedWord.clear();
    m_report = CReadReport();
    m_buffer = stream.rdbuf();
    if (!m_buffer || !m_lexer.seek(*m_buffer, offset)) {
        fail("the file cannot be read there");
        return false;
    }
    m_lexer.setKeepText(true);

    m_game.reset(new (std::nothrow) CPgnGame);
    auto* root = new (std::nothrow) CMoveNode(NO_MOVE, CText("root"), 0, CText(""), 0, 0);
    if (!m_game || !root) {
        delete root;
        m_game.reset();
        fail("there is not enough memory");
        return false;
    }
    m_game->setRoot(root);
    m_currentNode = root;

    m_haveToken = m_lexer.nextToken(TokenKind::SYMBOL, m_current);
    if (!m_haveToken) {
        m_game.reset();
        fail("no game is left in the file");
        return false;
    }
    while (readTagPair()) {}
    return true;
}

bool CPgnReader::readTagPair() {
    if (!is(TokenKind::LEFTBRACKET)) return false;
    advance(TokenKind::SYMBOL);
    if (!is(TokenKind::SYMBOL)) return false;
    m_tagName = m_current.text;
    advance(TokenKind::STRING);
    if (!m_haveToken) return false;

    if (is(TokenKind::STRING)) {
        m_tagValue = m_current.text;
        advance(TokenKind::RIGHTBRACKET);
    } else if (is(TokenKind::RIGHTBRACKET)) {
        m_tagValue = "";
    } else {
        // An unquoted value: everything up to "]", the blank before it included.
        std::string value = m_current.raw.c_str();
        for (;;) {
            const int c = m_lexer.readChar(TokenKind::RIGHTBRACKET);
            if (c < 0) return false;
            if (c == ']') break;
            if (c != 0) value += static_cast<char>(c);
        }
        m_tagValue = value.c_str();
        m_current.kind = TokenKind::RIGHTBRACKET;
        m_current.raw = "]";
        m_current.text = "";
        m_current.number = 0;
        m_current.start = m_lexer.position() - 1;
        m_haveToken = true;
    }
    if (!is(TokenKind::RIGHTBRACKET)) return false;
    const CText closing = m_current.raw;
    advance(TokenKind::SYMBOL);

    // A value holding a quoted word whose quotes were not escaped ended at the
    // first of them; the rest of it stands before the "]". Take it back whole.
    const std::string rest = closing.c_str();
    const size_t firstQuote = rest.find('"');
    if (firstQuote != std::string::npos && firstQuote + 1 < rest.size()) {
        m_tagValue += '"';
        m_tagValue += rest.substr(0, rest.rfind('"')).c_str();
    }
    m_game->setTag(m_tagName.c_str(), m_tagValue);
    if (m_tagName == "Result") m_hasResultTag = true;
    return true;
}

int64_t CPgnReader::offsetAfterGame() const {
    if (m_gameEnd >= 0) return m_gameEnd;
    // The first character of the token after the game: the "[" of the next
    // game as a rule. At the end of the file, the end of the file.
    return m_haveToken ? m_current.start : m_lexer.position();
}

int64_t CPgnReader::firstGameOffset(std::istream& stream, int64_t offset) {
    std::streambuf* buffer = stream.rdbuf();
    if (!buffer || !m_lexer.seek(*buffer, offset)) return offset;
    m_lexer.setKeepText(false);
    // The first "[" that opens a tag pair: a name, then a quoted value. A
    // bracket in a preamble's prose or inside a comment is no game.
    CToken token;
    bool have = m_lexer.nextToken(TokenKind::SYMBOL, token);
    while (have) {
        if (token.kind == TokenKind::LEFTBRACE) {
            have = m_lexer.nextToken(TokenKind::COMMENT, token);
            if (have && token.kind == TokenKind::COMMENT)
                have = m_lexer.nextToken(TokenKind::RIGHTBRACE, token);
            if (have) have = m_lexer.nextToken(TokenKind::SYMBOL, token);
            continue;
        }
        if (token.kind != TokenKind::LEFTBRACKET) {
            have = m_lexer.nextToken(TokenKind::SYMBOL, token);
            continue;
        }
        const int64_t start = token.start;
        have = m_lexer.nextToken(TokenKind::SYMBOL, token);
        if (!have || token.kind != TokenKind::SYMBOL) continue;
        have = m_lexer.nextToken(TokenKind::STRING, token);
        if (have && token.kind == TokenKind::STRING) return start;
    }
    // No tag pair anywhere: whatever the file holds is its one game.
    return offset;
}

bool CPgnReader::scanGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                          std::unique_ptr<CGame>& game) {
    m_scannedPlies = -1;
    if (!startGame(stream, offset)) return false;
    m_lexer.setKeepText(false);
    // The moves are counted by their words alone, unchecked: this is the cost of
    // a number in the game list, while checking them would be the cost of reading.
    int depth = 0;
    int plies = 0;
    while (m_haveToken && !is(TokenKind::LEFTBRACKET)) {
        if (is(TokenKind::LEFTBRACE)) {
            skipComment();
            continue;
        }
        if (is(TokenKind::LEFTPARENTHESIS))
            ++depth;
        else if (is(TokenKind::RIGHTPARENTHESIS))
            depth = std::max(depth - 1, 0);
        else if (depth == 0 && is(TokenKind::SYMBOL) && isMoveShaped(symbolWord()))
            ++plies;
        advance(TokenKind::SYMBOL);
    }
    m_scannedPlies = plies;
    nextOffset = offsetAfterGame();
    convertGameToUtf8(*m_game);
    game = std::move(m_game);
    return true;
}

const char* CPgnReader::symbolWord() const {
    // The word after the tags was read with its text, the rest of the move text without.
    return m_current.text.isEmpty() ? m_lexer.symbolHead() : m_current.text.c_str();
}

bool CPgnReader::startPosition() {
    // Every game starts from a fresh position: a FEN tag that leaves fields
    // out must not inherit them from the game read before.
    m_position.reset();
    const CText fen = m_game->tag("FEN");
    if (!fen.isEmpty()) {
        // Where the writer puts it, so the game reads back as it was read.
        m_game->insertTagBefore("SetUp", CText("1"), "FEN");
        m_position.setFen(fen.c_str());
        if (const char* why = m_position.whyNotPlayable()) {
            fail(std::string("its FEN tag gives an impossible position: ") + why);
            return false;
        }
    }
    const int rootPly = 2 * m_position.moveNumber() - 3 + m_position.sideToMove();
    m_currentNode->ply = int16_t(std::clamp(rootPly, -1, MAX_PLY));
    return true;
}

bool CPgnReader::readGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                          std::unique_ptr<CGame>& game) {
    if (!startGame(stream, offset)) return false;
    if (!startPosition() || !readMoveText()) {
        m_game.reset();
        return false;
    }
    readResult();
    nextOffset = offsetAfterGame();
    convertGameToUtf8(*m_game);
    if (m_report.gaps > 0) {
        m_report.outcome = CReadReport::Outcome::IN_PART;
        m_game->leftOut = m_report.message.c_str();
    }
    game = std::move(m_game);
    return true;
}

bool CPgnReader::atResult() const {
    return is(TokenKind::ASTERISK) ||
           (is(TokenKind::SYMBOL) && isResultWord(m_current.text.c_str()));
}

void CPgnReader::readResult() {
    readOptionalComment();
    if (!atResult()) return;
    // A result written only in the move text is the game's result.
    if (!m_hasResultTag) m_game->setResult(is(TokenKind::ASTERISK) ? CText("*") : m_current.text);
    advance(TokenKind::SYMBOL);
}

bool CPgnReader::readMoveText() {
    readOptionalComment();
    while (m_haveToken && m_gameEnd < 0) {
        if (is(TokenKind::LEFTBRACKET)) {
            // The next game's tag section: this game had no result.
            break;
        } else if (is(TokenKind::LEFTPARENTHESIS)) {
            m_elementStart = m_current.start;
            m_stoppedWord.clear();
            if (!beginVariation() && !recover()) return false;
        } else if (is(TokenKind::RIGHTPARENTHESIS) && !m_variations.empty()) {
            endVariation();
        } else if (atResult() && !m_variations.empty()) {
            // A result inside a variation ends nothing: the game goes on after it.
            readResult();
        } else if (atResult()) {
            break;
        } else if (is(TokenKind::LEFTBRACE) || (is(TokenKind::NAG) && m_currentNode->parent)) {
            // A comment or glyph after a variation, before the next move.
            readGlyphs();
        } else if (!readElement() && !recover()) {
            return false;
        }
    }
    return true;
}

bool CPgnReader::beginVariation() {
    // A "(" before any move of its line has no move to be an alternative to.
    if (m_currentNode == m_game->root()) return false;
    advance(TokenKind::SYMBOL);
    m_variations.push_back(Variation{m_currentNode});
    m_position.takeBack();
    m_currentNode = m_currentNode->parent;
    readOptionalComment();
    return true;
}

void CPgnReader::endVariation() {
    advance(TokenKind::SYMBOL);
    const Variation variation = m_variations.back();
    m_variations.pop_back();
    for (CMoveNode* node = m_currentNode; node != variation.varied->parent; node = node->parent)
        m_position.takeBack();
    m_currentNode = variation.varied;
    // The move was made on this position before, and its history entry has
    // just been given back: making it again cannot fail.
    m_position.makeMove(variation.varied->move);
}

bool CPgnReader::readElement() {
    readOptionalComment();
    m_elementStart = m_haveToken ? m_current.start : m_lexer.position();
    m_stoppedWord.clear();
    if (is(TokenKind::INT)) advance(TokenKind::PERIOD);
    if (is(TokenKind::SYMBOL) && startsWithMoveNumber(m_current.text.c_str()))
        advance(TokenKind::PERIOD);
    while (is(TokenKind::PERIOD))
        advance(TokenKind::SYMBOL);
    readOptionalComment();
    if (!readMove()) return false;
    readGlyphs();
    return true;
}

bool CPgnReader::readMove() {
    if (!is(TokenKind::SYMBOL)) return false;
    const std::string word = m_current.text.c_str();
    advance(TokenKind::SYMBOL);
    CMoveWord read;
    if (!readMoveWord(m_position, word, read)) {
        // "exd6e.p.": the lexer cuts the mark written onto the move at its periods.
        if (word.back() != 'e' || !is(TokenKind::PERIOD) ||
            !readMoveWord(m_position, word + ".p.", read)) {
            m_stoppedWord = word;
            return false;
        }
        advance(TokenKind::SYMBOL);
        if (is(TokenKind::SYMBOL) && m_current.text == "p") advance(TokenKind::SYMBOL);
        if (is(TokenKind::PERIOD)) advance(TokenKind::SYMBOL);
    }

    for (CMoveNode* child : m_currentNode->children) {
        if (child->move == read.move) {
            if (!m_position.makeMove(read.move)) return false;
            m_currentNode = child;
            if (read.move.isEnPassant()) skipEnPassantMark();
            return true;
        }
    }

    const int ply = std::min(m_currentNode->ply + 1, MAX_PLY);
    // A position that cannot record the move, or a node that cannot be had,
    // fails the game rather than leave a gap in the tree.
    if (!m_position.makeMove(read.move)) return false;
    auto* node = new (std::nothrow)
        CMoveNode(read.move, CText(read.text.c_str()), int16_t(ply), CText(""), read.glyph, 0);
    if (!node || !m_currentNode->addChild(node)) {
        delete node;
        m_position.takeBack();
        return false;
    }
    if (read.glyph != 0) node->nags.push_back(read.glyph);
    m_currentNode = node;
    if (read.move.isEnPassant()) skipEnPassantMark();
    return true;
}

void CPgnReader::skipEnPassantMark() {
    // "exd6 e.p." and "exd6 ep": a mark no move can be mistaken for.
    if (is(TokenKind::SYMBOL) && m_current.text == "ep") {
        advance(TokenKind::SYMBOL);
        if (is(TokenKind::PERIOD)) advance(TokenKind::SYMBOL);
    } else if (is(TokenKind::SYMBOL) && m_current.text == "e") {
        advance(TokenKind::SYMBOL);
        if (is(TokenKind::PERIOD)) advance(TokenKind::SYMBOL);
        if (is(TokenKind::SYMBOL) && m_current.text == "p") advance(TokenKind::SYMBOL);
        if (is(TokenKind::PERIOD)) advance(TokenKind::SYMBOL);
    }
}

void CPgnReader::readGlyphs() {
    // Glyphs and comments in any order after a move: "$1 {good} $14".
    for (;;) {
        readOptionalComment();
        if (!is(TokenKind::NAG)) return;
        const auto nag = uint8_t(m_current.number & 0xFF);
        advance(TokenKind::SYMBOL);
        // "$0" is the null annotation: no glyph.
        if (nag == 0) continue;
        m_currentNode->nag = nag;
        m_currentNode->nags.push_back(nag);
    }
}

void CPgnReader::readOptionalComment() {
    if (!is(TokenKind::LEFTBRACE)) return;
    // Comments join whatever the node holds already: one read before a move
    // number, after "(" or after a glyph adds to the one before it.
    m_comment = m_currentNode->comment.c_str();
    const size_t before = m_comment.size();
    bool complete = false;
    while (is(TokenKind::LEFTBRACE)) {
        advance(TokenKind::COMMENT);
        if (!m_haveToken) break;
        const size_t kept = m_comment.size();
        if (is(TokenKind::COMMENT)) {
            appendComment(m_comment, m_current.text.c_str(), m_current.text.length());
            advance(TokenKind::RIGHTBRACE);
        }
        if (!is(TokenKind::RIGHTBRACE)) {
            m_comment.resize(kept);
            break;
        }
        advance(TokenKind::SYMBOL);
        complete = true;
    }
    if (complete && m_comment.size() != before) m_currentNode->comment = m_comment.c_str();
}

void CPgnReader::skipComment() {
    advance(TokenKind::COMMENT);
    if (is(TokenKind::COMMENT)) advance(TokenKind::RIGHTBRACE);
    if (is(TokenKind::RIGHTBRACE)) advance(TokenKind::SYMBOL);
}

std::string CPgnReader::currentWord() const {
    if (!m_stoppedWord.empty()) return m_stoppedWord;
    if (!m_haveToken) return "";
    switch (m_current.kind) {
    case TokenKind::SYMBOL:
        return m_current.text.c_str();
    case TokenKind::INT:
        return std::to_string(m_current.number);
    case TokenKind::NAG:
        return "$" + std::to_string(m_current.number);
    case TokenKind::STRING:
        return "\"" + std::string(m_current.text.c_str()) + "\"";
    default:
        break;
    }
    // The single-character kinds, by their fixed values.
    static const char* const PUNCTUATION[] = {"",  "",  "", ".", "*", "[", "]",
                                              "{", "}", "", "(", ")", "<", ">"};
    const auto kind = size_t(m_current.kind);
    return kind < sizeof PUNCTUATION / sizeof *PUNCTUATION ? PUNCTUATION[kind] : "";
}

std::string CPgnReader::gapText() const {
    const int ply = m_currentNode->ply + 1;
    const int number = (ply + 2) / 2;
    if (!m_haveToken && m_stoppedWord.empty())
        return "the text ends inside move " + moveNumberText(number, (ply & 1) != 0);
    return "move " + moveNumberText(number, (ply & 1) != 0) + " " + currentWord() +
           " does not read";
}

void CPgnReader::noteGap(const char* consequence) {
    ++m_report.gaps;
    if (m_report.gaps > 1) return;
    const int ply = m_currentNode->ply + 1;
    m_report.stoppedAt = currentWord();
    m_report.moveNumber = (ply + 2) / 2;
    m_report.blackMove = (ply & 1) != 0;
    m_report.message = gapText() + ": " + consequence;
}

void CPgnReader::fail(const std::string& why) {
    m_report.outcome = CReadReport::Outcome::FAILED;
    m_report.message = why;
}

bool CPgnReader::recover() {
    if (!m_variations.empty()) {
        noteGap("the rest of its variation is left out");
        skipRestOfVariation();
        return true;
    }
    if (m_currentNode == m_game->root()) {
        // Nothing read that a comment could be kept with: the game fails.
        fail(gapText());
        return false;
    }
    noteGap("the rest of the game is kept in a comment");
    keepRestOfGame();
    return true;
}

void CPgnReader::skipRestOfVariation() {
    // Up to the ")" that closes the variation, nested ones skipped whole; a
    // "[" is the next game, which no variation reaches into.
    int depth = 0;
    while (m_haveToken && !is(TokenKind::LEFTBRACKET)) {
        if (is(TokenKind::LEFTBRACE)) {
            skipComment();
            continue;
        }
        if (is(TokenKind::LEFTPARENTHESIS)) ++depth;
        if (is(TokenKind::RIGHTPARENTHESIS) && depth-- == 0) {
            endVariation();
            return;
        }
        advance(TokenKind::SYMBOL);
    }
}

void CPgnReader::keepRestOfGame() {
    // The game's text runs to the next game's tag section or the end of the
    // file; a result at its end is the result, not part of what is kept.
    int64_t restEnd = m_haveToken ? m_current.start : m_lexer.position();
    int64_t resultStart = -1;
    CText result;
    while (m_haveToken && !is(TokenKind::LEFTBRACKET)) {
        if (is(TokenKind::LEFTBRACE)) {
            skipComment();
            resultStart = -1;
        } else {
            if (atResult()) {
                resultStart = m_current.start;
                result = is(TokenKind::ASTERISK) ? CText("*") : m_current.text;
            } else {
                resultStart = -1;
            }
            advance(TokenKind::SYMBOL);
        }
        restEnd = m_haveToken ? m_current.start : m_lexer.position();
    }
    const int64_t gameEnd = m_haveToken ? m_current.start : m_lexer.position();
    if (resultStart >= 0) {
        restEnd = resultStart;
        if (!m_hasResultTag) m_game->setResult(result);
    }

    std::string rest(size_t(std::max<int64_t>(restEnd - m_elementStart, 0)), '\0');
    m_buffer->pubseekpos(std::streampos(m_elementStart), std::ios_base::in);
    const std::streamsize got = m_buffer->sgetn(&rest[0], std::streamsize(rest.size()));
    rest.resize(size_t(std::max<std::streamsize>(got, 0)));
    // A "}" would end the comment the text is kept in.
    std::replace(rest.begin(), rest.end(), '}', ')');
    std::replace(rest.begin(), rest.end(), '{', '(');
    std::string comment = m_currentNode->comment.c_str();
    appendComment(comment, rest.data(), rest.size());
    m_currentNode->comment = comment.c_str();

    m_lexer.seek(*m_buffer, gameEnd);
    m_gameEnd = gameEnd;
}
