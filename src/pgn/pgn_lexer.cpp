#include "pgn/pgn_lexer.h"

#include <array>
#include <climits>

namespace {

constexpr int END = std::char_traits<char>::eof();

enum : uint8_t { SYMBOL_CHAR = 1, PUNCTUATION = 2 };

constexpr std::array<uint8_t, 256> makeClasses() {
    std::array<uint8_t, 256> classes{};
    for (int c = 'A'; c <= 'Z'; ++c)
        classes[c] = SYMBOL_CHAR;
    for (int c = 'a'; c <= 'z'; ++c)
        classes[c] = SYMBOL_CHAR;
    for (int c = '0'; c <= '9'; ++c)
        classes[c] = SYMBOL_CHAR;
    for (char c : {'_', '+', '#', '=', ':', '-', '!', '?', '/'})
        classes[uint8_t(c)] = SYMBOL_CHAR;
    for (char c : {'"', '$', '(', ')', '*', '.', '<', '>', '[', ']', '{', '}'})
        classes[uint8_t(c)] = PUNCTUATION;
    return classes;
}

constexpr std::array<uint8_t, 256> CLASSES = makeClasses();

// A character outside every token list (a byte above 127, a control
// character, "%" inside a line, "\\" ...) begins no token. It is skipped like
// whitespace, so a byte-order mark or a stray byte between moves costs nothing,
// and it can never be taken for a move.
bool beginsToken(int c) {
    return c != END && CLASSES[uint8_t(c)] != 0;
}

bool symbolChar(int c) {
    return c != END && CLASSES[uint8_t(c)] == SYMBOL_CHAR;
}

void clearText(CToken& token) {
    if (!token.text.isEmpty()) token.text = "";
}

TokenKind punctuationKind(int c) {
    switch (c) {
    case '(':
        return TokenKind::LEFTPARENTHESIS;
    case ')':
        return TokenKind::RIGHTPARENTHESIS;
    case '*':
        return TokenKind::ASTERISK;
    case '.':
        return TokenKind::PERIOD;
    case '<':
        return TokenKind::LEFTANGLE;
    case '>':
        return TokenKind::RIGHTANGLE;
    case '[':
        return TokenKind::LEFTBRACKET;
    case ']':
        return TokenKind::RIGHTBRACKET;
    case '{':
        return TokenKind::LEFTBRACE;
    default:
        return TokenKind::RIGHTBRACE;
    }
}

void appendByte(std::string& text, int c) {
    // Texts are zero-terminated: a NUL byte cannot be kept and is dropped.
    if (c != 0) text.push_back(static_cast<char>(c));
}

} // namespace

bool CPgnLexer::isSymbolChar(int c) {
    return symbolChar(c);
}

bool CPgnLexer::seek(std::streambuf& buffer, int64_t offset) {
    m_buffer = &buffer;
    m_pendingBrace = false;
    if (offset < 0) return false;
    // Whether a "%" at offset starts an escape line depends on the character
    // before it; the start of the stream is the start of a line.
    const std::streampos failed(std::streamoff(-1));
    m_previous = '\n';
    if (offset > 0) {
        if (buffer.pubseekpos(std::streampos(offset - 1), std::ios_base::in) == failed)
            return false;
        const int before = buffer.sbumpc();
        if (before == END) return false;
        m_previous = static_cast<signed char>(before);
    } else if (buffer.pubseekpos(std::streampos(0), std::ios_base::in) == failed) {
        return false;
    }
    m_position = offset;
    return true;
}

int CPgnLexer::readChar(TokenKind hint) {
    for (;;) {
        int c = bump();
        if (c == END) return END;
        const bool escapeLine =
            c == '%' && (m_previous == '\n' || m_previous == '\r') && hint != TokenKind::COMMENT;
        const bool lineComment = c == ';' && hint != TokenKind::COMMENT;
        m_previous = static_cast<signed char>(c);
        if (!escapeLine && !lineComment) return c;
        // The line ends at a line feed or a carriage return: files with
        // carriage returns alone are read like any other.
        while (c != '\n' && c != '\r') {
            c = bump();
            if (c == END) return END;
            m_previous = static_cast<signed char>(c);
        }
    }
}

bool CPgnLexer::nextToken(TokenKind hint, CToken& token) {
    if (m_pendingBrace) {
        m_pendingBrace = false;
        token.kind = TokenKind::RIGHTBRACE;
        token.raw = "}";
        token.text = "";
        token.number = 0;
        token.start = m_pendingBraceStart;
        return true;
    }

    const bool keepRaw = hint == TokenKind::STRING || hint == TokenKind::RIGHTBRACKET;
    m_raw.clear();
    int c;
    for (;;) {
        c = readChar(hint);
        if (c == END) return false;
        if (keepRaw) appendByte(m_raw, c);
        if (isWhitespace(c)) continue;
        if (hint == TokenKind::RIGHTBRACKET && c != ']') continue;
        if (hint != TokenKind::COMMENT && !beginsToken(c)) continue;
        break;
    }
    token.start = m_position - 1;
    token.number = 0;

    if (hint == TokenKind::COMMENT) {
        if (!readComment(c, token)) return false;
    } else if (c == '"') {
        if (!readString(token, keepRaw)) return false;
    } else if (c == '$') {
        token.kind = TokenKind::NAG;
        const int next = peek();
        if (isDigit(next)) {
            bump();
            if (keepRaw) appendByte(m_raw, next);
            token.number = readInteger(next, keepRaw);
        }
        clearText(token);
    } else if (CLASSES[uint8_t(c)] == PUNCTUATION) {
        token.kind = punctuationKind(c);
        clearText(token);
    } else if (isDigit(c) && hint != TokenKind::SYMBOL) {
        token.kind = TokenKind::INT;
        token.number = readInteger(c, keepRaw);
        clearText(token);
    } else {
        token.kind = TokenKind::SYMBOL;
        if (m_keepText || keepRaw) {
            m_text.assign(1, static_cast<char>(c));
            while (symbolChar(peek()))
                m_text.push_back(static_cast<char>(bump()));
            if (keepRaw) m_raw.append(m_text, 1, std::string::npos);
            token.text = m_text.c_str();
        } else {
            // Without text, the start of the word is still kept: enough to tell a
            // move from a move number or a result, for the index to count moves.
            size_t length = 0;
            m_head[length++] = static_cast<char>(c);
            while (symbolChar(peek())) {
                const int next = bump();
                if (length < HEAD_SIZE - 1) m_head[length++] = static_cast<char>(next);
            }
            m_head[length] = 0;
            clearText(token);
        }
    }

    if (keepRaw)
        token.raw = m_raw.c_str();
    else if (!token.raw.isEmpty())
        token.raw = "";
    return true;
}

int32_t CPgnLexer::readInteger(int first, bool keepRaw) {
    // A digit run of any length must not overflow: the value stops growing at
    // the largest int32 instead of wrapping.
    int64_t value = first - '0';
    while (isDigit(peek())) {
        const int digit = bump();
        if (keepRaw) appendByte(m_raw, digit);
        value = value * 10 + (digit - '0');
        if (value > INT32_MAX) value = INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

bool CPgnLexer::readString(CToken& token, bool keepRaw) {
    m_text.clear();
    for (;;) {
        int c = bump();
        if (c == END) return false;
        if (keepRaw) appendByte(m_raw, c);
        if (c == '"') break;
        if (c == '\\') {
            c = bump();
            if (c == END) return false;
            if (keepRaw) appendByte(m_raw, c);
        }
        if (m_keepText) appendByte(m_text, c);
    }
    token.kind = TokenKind::STRING;
    if (m_keepText)
        token.text = m_text.c_str();
    else
        clearText(token);
    return true;
}

bool CPgnLexer::readComment(int first, CToken& token) {
    token.kind = TokenKind::COMMENT;
    if (first == '}') {
        // An empty body: the "}" has been read already but is still the next token.
        m_pendingBrace = true;
        m_pendingBraceStart = m_position - 1;
        clearText(token);
        return true;
    }
    if (!m_keepText) {
        for (int next = peek(); next != '}'; next = peek()) {
            if (next == END) return false;
            bump();
        }
        clearText(token);
        return true;
    }
    m_text.clear();
    appendByte(m_text, first);
    for (;;) {
        const int next = peek();
        if (next == '}') break;
        if (next == END) return false;
        appendByte(m_text, bump());
    }
    token.text = m_text.c_str();
    return true;
}
