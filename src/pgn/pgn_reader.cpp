#include "pgn/pgn_reader.h"

#include <algorithm>
#include <istream>
#include <new>
#include <string>

#include "rules/notation.h"

namespace {

bool isResult(const CText& text) {
    return text == "1-0" || text == "0-1" || text == "1/2-1/2";
}

// A move number written as a symbol: digits that are not all zero at its start.
bool startsWithMoveNumber(const char* text) {
    for (; *text >= '0' && *text <= '9'; ++text)
        if (*text != '0') return true;
    return false;
}

uint8_t suffixNag(const std::string& suffix) {
    static const char* const SUFFIXES[] = {"!", "?", "!!", "??", "!?", "?!"};
    for (int i = 0; i < 6; ++i)
        if (suffix == SUFFIXES[i]) return uint8_t(i + 1);
    return 0;
}

// The writer turns every line break of a comment into a blank and breaks its
// lines at blanks; keeping runs of blanks and line breaks as one blank, and no
// blank at the end, makes a comment read back exactly as it was written. So
// does dropping the whitespace at its start that a dropped NUL byte uncovered:
// read back, it would be skipped.
void appendComment(std::string& joined, const CText& body) {
    const size_t before = joined.size();
    bool inBlank = false;
    for (uint32_t i = 0; i < body.length(); ++i) {
        const char c = body[i];
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

} // namespace

CPgnReader::CPgnReader() = default;
CPgnReader::~CPgnReader() = default;

bool CPgnReader::startGame(std::istream& stream, int64_t offset) {
    m_game.reset();
    m_variations.clear();
    m_haveToken = false;
    std::streambuf* buffer = stream.rdbuf();
    if (!buffer || !m_lexer.seek(*buffer, offset)) return false;
    m_lexer.setKeepText(true);
    // Whatever was read last, the start of a stream is the start of a line
    // that is not an escape line, as for a fresh reader.
    if (offset == 0) m_lexer.setPreviousChar(0);

    m_game.reset(new (std::nothrow) CPgnGame);
    if (!m_game) return false;
    auto* root = new (std::nothrow) CMoveNode(NO_MOVE, CText("root"), 0, CText(""), 0, 0);
    if (!root) {
        m_game.reset();
        return false;
    }
    m_game->setRoot(root);
    m_currentNode = root;

    m_haveToken = m_lexer.nextToken(TokenKind::SYMBOL, m_current);
    if (!m_haveToken) {
        m_game.reset();
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
    return true;
}

int64_t CPgnReader::offsetAfterGame() const {
    // The first character of the token after the game: the "[" of the next
    // game as a rule. At the end of the file, the end of the file.
    return m_haveToken ? m_current.start : m_lexer.position();
}

bool CPgnReader::scanGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                          std::unique_ptr<CGame>& game) {
    if (!startGame(stream, offset)) return false;
    m_lexer.setKeepText(false);
    while (m_haveToken && !is(TokenKind::LEFTBRACKET)) {
        if (is(TokenKind::LEFTBRACE))
            skipComment();
        else
            advance(TokenKind::SYMBOL);
    }
    nextOffset = offsetAfterGame();
    game = std::move(m_game);
    return true;
}

bool CPgnReader::readGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                          std::unique_ptr<CGame>& game) {
    if (!startGame(stream, offset)) return false;

    const CText fen = m_game->tag("FEN");
    if (!fen.isEmpty())
        m_position.setFen(fen.c_str());
    else
        m_position.reset();
    const int rootPly = 2 * m_position.moveNumber() - 3 + m_position.sideToMove();
    m_currentNode->ply = int16_t(std::clamp(rootPly, -1, MAX_PLY));

    readOptionalComment();
    if (!readMoveText()) {
        m_game.reset();
        return false;
    }
    readOptionalComment();
    if (is(TokenKind::ASTERISK))
        advance(TokenKind::STRING);
    else if (is(TokenKind::SYMBOL) && isResult(m_current.text))
        advance(TokenKind::SYMBOL);

    nextOffset = offsetAfterGame();
    game = std::move(m_game);
    return true;
}

bool CPgnReader::readMoveText() {
    while (m_haveToken) {
        if (is(TokenKind::LEFTPARENTHESIS)) {
            if (!beginVariation()) return false;
        } else if (is(TokenKind::RIGHTPARENTHESIS) && !m_variations.empty()) {
            if (!endVariation()) return false;
        } else if (is(TokenKind::ASTERISK) || (is(TokenKind::SYMBOL) && isResult(m_current.text))) {
            return true;
        } else if (!readElement()) {
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
    return true;
}

bool CPgnReader::endVariation() {
    advance(TokenKind::SYMBOL);
    const Variation variation = m_variations.back();
    m_variations.pop_back();
    for (CMoveNode* node = m_currentNode; node != variation.varied->parent; node = node->parent)
        m_position.takeBack();
    m_currentNode = variation.varied;
    return m_position.makeMove(variation.varied->move);
}

bool CPgnReader::readElement() {
    readOptionalComment();
    readOptionalComment();
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
    std::string word = m_current.text.c_str();
    advance(TokenKind::SYMBOL);
    if (word.size() > MAX_MOVE_TEXT) return false;

    CMove move = parseSan(m_position, word.c_str());
    if (move == NO_MOVE && word.size() > 1 && word.back() == 'e' && is(TokenKind::PERIOD)) {
        // "exd6e.p.": the en-passant mark written onto the move.
        const std::string withoutMark = word.substr(0, word.size() - 1);
        const CMove capture = parseSan(m_position, withoutMark.c_str());
        if (capture != NO_MOVE && capture.isEnPassant()) {
            move = capture;
            word = withoutMark;
            advance(TokenKind::SYMBOL);
            if (is(TokenKind::SYMBOL) && m_current.text == "p") advance(TokenKind::SYMBOL);
            if (is(TokenKind::PERIOD)) advance(TokenKind::SYMBOL);
        }
    }
    if (move == NO_MOVE) return false;

    // The first run of "!" and "?" becomes the glyph; the text keeps the rest of
    // the word without any of them (the move never depends on them), so that
    // written back with its glyph as "$n" it reads as the same text.
    const size_t suffixStart = word.find_first_of("!?");
    std::string suffix;
    if (suffixStart != std::string::npos) {
        const size_t suffixEnd = std::min(word.find_first_not_of("!?", suffixStart), word.size());
        suffix = word.substr(suffixStart, suffixEnd - suffixStart);
    }
    word.erase(
        std::remove_if(word.begin(), word.end(), [](char c) { return c == '!' || c == '?'; }),
        word.end());
    // Written back, a text that starts like a move number (a form such as 2f4
    // with the origin rank first) or is a result would be read as one.
    if (startsWithMoveNumber(word.c_str()) || isResult(CText(word.c_str()))) return false;

    for (CMoveNode* child : m_currentNode->children) {
        if (child->move == move) {
            if (!m_position.makeMove(move)) return false;
            m_currentNode = child;
            if (move.isEnPassant()) skipEnPassantMark();
            return true;
        }
    }

    const int ply = std::min(m_currentNode->ply + 1, MAX_PLY);
    // A position that cannot record the move, or a node that cannot be had,
    // fails the game rather than leave a gap in the tree.
    if (!m_position.makeMove(move)) return false;
    auto* node = new (std::nothrow)
        CMoveNode(move, CText(word.c_str()), int16_t(ply), CText(""), suffixNag(suffix), 0);
    if (!node || !m_currentNode->addChild(node)) {
        delete node;
        return false;
    }
    m_currentNode = node;
    if (move.isEnPassant()) skipEnPassantMark();
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
    readOptionalComment();
    while (is(TokenKind::NAG)) {
        const auto nag = uint8_t(m_current.number & 0xFF);
        advance(TokenKind::SYMBOL);
        m_currentNode->nag = nag;
    }
    readOptionalComment();
}

void CPgnReader::readOptionalComment() {
    // Comments that follow one another with nothing between them all belong
    // to the node: "{ Well done! } { [%csl Gf6] }" keeps both.
    bool complete = false;
    m_comment.clear();
    while (is(TokenKind::LEFTBRACE)) {
        advance(TokenKind::COMMENT);
        if (!m_haveToken) break;
        const size_t before = m_comment.size();
        if (is(TokenKind::COMMENT)) {
            appendComment(m_comment, m_current.text);
            advance(TokenKind::RIGHTBRACE);
        }
        if (!is(TokenKind::RIGHTBRACE)) {
            m_comment.resize(before);
            break;
        }
        advance(TokenKind::SYMBOL);
        complete = true;
    }
    if (complete && m_currentNode) m_currentNode->comment = m_comment.c_str();
}

void CPgnReader::skipComment() {
    advance(TokenKind::COMMENT);
    if (is(TokenKind::COMMENT)) advance(TokenKind::RIGHTBRACE);
    if (is(TokenKind::RIGHTBRACE)) advance(TokenKind::SYMBOL);
}
