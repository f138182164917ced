#pragma once
// The tokens of PGN text, as the lexer hands them to the reader.

#include <cstdint>

#include "base/text.h"

// The values are fixed: the reader passes kinds to the lexer as hints.
enum class TokenKind : int32_t {
    UNKNOWN = 0, // never produced; the kind of a fresh token
    STRING = 1,
    INT = 2,
    PERIOD = 3,
    ASTERISK = 4,
    LEFTBRACKET = 5,
    RIGHTBRACKET = 6,
    LEFTBRACE = 7,
    RIGHTBRACE = 8,
    COMMENT = 9, // the body of a brace comment, only when asked for
    LEFTPARENTHESIS = 10,
    RIGHTPARENTHESIS = 11,
    LEFTANGLE = 12,
    RIGHTANGLE = 13,
    NAG = 14,
    SYMBOL = 15,
};

struct CToken {
    TokenKind kind = TokenKind::UNKNOWN;
    // Every character consumed for the token, the whitespace and skipped text
    // before it included. Only kept for the hints STRING and RIGHTBRACKET: the
    // reader looks at the raw text of tag values and of the "]" after them alone.
    CText raw;
    // The characters of a STRING (without quotes and escapes), SYMBOL or COMMENT.
    CText text;
    // The value of an INT or NAG; 0 for a NAG without digits.
    int32_t number = 0;
    // Offset of the token's first character in the stream.
    int64_t start = 0;
};
