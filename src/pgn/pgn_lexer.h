#pragma once
// CPgnLexer: cuts the bytes of a PGN file into tokens, one per call, steered
// by the kind of token the reader expects next (the hint). Only the hints
// RIGHTBRACKET, COMMENT and SYMBOL change the lexing:
//   SYMBOL        digits belong to symbols, so "1-0" is one token;
//   RIGHTBRACKET  everything up to the next "]" is skipped;
//   COMMENT       the next characters up to "}" are a comment body, and
//                 semicolons and "%" lines are ordinary characters.
// The file is read strictly forward, one character at a time with one
// character of peek, so a large file is never held in memory.

#include <cstdint>
#include <streambuf>
#include <string>

#include "pgn/token.h"

class CPgnLexer {
public:
    // Positions the lexer at offset bytes from the start of buffer; false when
    // the buffer cannot be positioned there.
    bool seek(std::streambuf& buffer, int64_t offset);

    // Reads the next token; false when the stream ends before a token is
    // complete (no token left, or an unterminated string or comment), and the
    // token must then not be used.
    bool nextToken(TokenKind hint, CToken& token);

    // Reads one character through the line-skipping rules (";" lines unless
    // the hint is COMMENT, "%" lines after a line break); -1 at the end.
    int readChar(TokenKind hint);

    // Without text, SYMBOL, STRING and COMMENT tokens come with an empty text:
    // skipping the move text of a game needs only the kinds, and building
    // texts nobody reads is most of the cost of indexing a file.
    void setKeepText(bool keep) { m_keepText = keep; }

    // The first characters (up to HEAD_SIZE - 1) of the last SYMBOL token read without
    // text, zero-terminated; the result words, move numbers and marks are all shorter.
    static constexpr size_t HEAD_SIZE = 12;
    const char* symbolHead() const { return m_head; }

    // Offset of the next character that will be read.
    int64_t position() const { return m_position; }

    // Seeking sets the previous character to the one before offset (a line
    // feed at the start of the stream), so escape lines are found wherever
    // reading starts.
    int previousChar() const { return m_previous; }

    static bool isWhitespace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    static bool isSymbolChar(int c);
    static bool isDigit(int c) { return c >= '0' && c <= '9'; }

private:
    int bump() {
        const int c = m_buffer->sbumpc();
        if (c != std::char_traits<char>::eof()) ++m_position;
        return c;
    }
    int peek() { return m_buffer->sgetc(); }
    bool readComment(int first, CToken& token);
    bool readString(CToken& token, bool keepRaw);
    int32_t readInteger(int first, bool keepRaw);

    std::streambuf* m_buffer = nullptr;
    int64_t m_position = 0;
    signed char m_previous = 0;
    // An empty comment has consumed its "}", which must still come out as the next token.
    bool m_pendingBrace = false;
    bool m_keepText = true;
    int64_t m_pendingBraceStart = 0;
    std::string m_raw;
    std::string m_text;
    char m_head[HEAD_SIZE] = {};
};
