#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pgn/pgn_lexer.h"

namespace {

using K = TokenKind;

const char* kindName(TokenKind kind) {
    static const char* const NAMES[] = {"UNKNOWN", "STRING", "INT", ".",       "*", "[",
                                        "]",       "{",      "}",   "COMMENT", "(", ")",
                                        "<",       ">",      "NAG", "SYMBOL"};
    return NAMES[int(kind)];
}

// Lexes input with one hint per token; each token is described as KIND or
// KIND:text or KIND=number, and a failing call as FAIL (which ends the list).
std::string lex(const std::string& input, const std::vector<TokenKind>& hints) {
    std::istringstream stream(input);
    CPgnLexer lexer;
    lexer.seek(*stream.rdbuf(), 0);
    std::string out;
    for (TokenKind hint : hints) {
        CToken token;
        if (!out.empty()) out += " ";
        if (!lexer.nextToken(hint, token)) return out + "FAIL";
        out += kindName(token.kind);
        if (token.kind == K::STRING || token.kind == K::SYMBOL || token.kind == K::COMMENT)
            out += ":" + std::string(token.text.c_str());
        if (token.kind == K::INT || token.kind == K::NAG) out += "=" + std::to_string(token.number);
    }
    return out;
}

} // namespace

TEST(PgnLexer, TokensByHint) {
    struct Case {
        std::string input;
        std::vector<TokenKind> hints;
        std::string tokens;
    };
    const Case cases[] = {
        // Digits belong to symbols only when a symbol is expected.
        {"1-0", {K::SYMBOL}, "SYMBOL:1-0"},
        {"1-0", {K::INT, K::INT}, "INT=1 SYMBOL:-0"},
        {"12.", {K::SYMBOL, K::SYMBOL}, "SYMBOL:12 ."},
        {"12.", {K::INT, K::INT}, "INT=12 ."},
        {"Nf3+ e8=Q O-O-O e4!?",
         {K::SYMBOL, K::SYMBOL, K::SYMBOL, K::SYMBOL},
         "SYMBOL:Nf3+ SYMBOL:e8=Q SYMBOL:O-O-O SYMBOL:e4!?"},
        {"- + !", {K::SYMBOL, K::SYMBOL, K::SYMBOL}, "SYMBOL:- SYMBOL:+ SYMBOL:!"},
        {"$14 $ e4", {K::SYMBOL, K::SYMBOL, K::SYMBOL}, "NAG=14 NAG=0 SYMBOL:e4"},
        {"()*.<>[]{}", std::vector<TokenKind>(10, K::SYMBOL), "( ) * . < > [ ] { }"},
        // Strings: a backslash keeps the next character whatever it is.
        {"\"a \\\"b\\\" \\\\c\"", {K::STRING}, "STRING:a \"b\" \\c"},
        {"\"open", {K::STRING}, "FAIL"},
        {"\"\"", {K::STRING}, "STRING:"},
        // Semicolon comments and escape lines between tokens.
        {"e4 ; a comment\r\ne5", {K::SYMBOL, K::SYMBOL}, "SYMBOL:e4 SYMBOL:e5"},
        {"e4\n%escape\n%again\ne5", {K::SYMBOL, K::SYMBOL}, "SYMBOL:e4 SYMBOL:e5"},
        {"e4 ; comment to the end", {K::SYMBOL, K::SYMBOL}, "SYMBOL:e4 FAIL"},
        // The start of the stream is the start of a line; carriage returns
        // alone end lines as line feeds do.
        {"%e4", {K::SYMBOL}, "FAIL"},
        {"%e4\ne5", {K::SYMBOL}, "SYMBOL:e5"},
        {"e4 ; a comment\re5", {K::SYMBOL, K::SYMBOL}, "SYMBOL:e4 SYMBOL:e5"},
        {"e4\r%escape\r%again\re5", {K::SYMBOL, K::SYMBOL}, "SYMBOL:e4 SYMBOL:e5"},
        {"e4\r\n%escape\r\ne5", {K::SYMBOL, K::SYMBOL}, "SYMBOL:e4 SYMBOL:e5"},
        // Comment bodies keep semicolons, escape lines and line breaks.
        {"{  a ; b\n%c }", {K::SYMBOL, K::COMMENT, K::RIGHTBRACE}, "{ COMMENT:a ; b\n%c  }"},
        {"{}", {K::SYMBOL, K::COMMENT, K::RIGHTBRACE, K::SYMBOL}, "{ COMMENT: } FAIL"},
        {"{ } e4", {K::SYMBOL, K::COMMENT, K::RIGHTBRACE, K::SYMBOL}, "{ COMMENT: } SYMBOL:e4"},
        {"{\n%clk}", {K::SYMBOL, K::COMMENT}, "{ COMMENT:%clk"},
        {"{;x}", {K::SYMBOL, K::COMMENT}, "{ COMMENT:;x"},
        {"{ never closed", {K::SYMBOL, K::COMMENT}, "{ FAIL"},
        {"{", {K::SYMBOL, K::COMMENT}, "{ FAIL"},
        // Everything before "]" is skipped when a "]" is expected.
        {" x \"y\"]", {K::RIGHTBRACKET}, "]"},
        {" x y", {K::RIGHTBRACKET}, "FAIL"},
        // Characters that begin no token are skipped: a byte-order mark, bytes
        // above 127, NUL, a lone "%" or "\".
        {"\xEF\xBB\xBF[Event", {K::SYMBOL, K::SYMBOL}, "[ SYMBOL:Event"},
        {std::string("e4\0\xC2\xA0 e5", 8), {K::SYMBOL, K::SYMBOL}, "SYMBOL:e4 SYMBOL:e5"},
        {" % \\ @ ~ e4", {K::SYMBOL}, "SYMBOL:e4"},
        {"\xFF\xFE", {K::SYMBOL}, "FAIL"},
        // A digit run of any length saturates instead of overflowing.
        {std::string(50, '9'), {K::INT}, "INT=2147483647"},
        {"$" + std::string(50, '7'), {K::SYMBOL}, "NAG=2147483647"},
        {std::string(50, '1'), {K::SYMBOL}, "SYMBOL:" + std::string(50, '1')},
        {"", {K::SYMBOL}, "FAIL"},
        {" \t\r\n", {K::SYMBOL}, "FAIL"},
    };
    for (const Case& test : cases)
        EXPECT_EQ(lex(test.input, test.hints), test.tokens) << test.input;
}

TEST(PgnLexer, RawTextAndStartOffsets) {
    std::istringstream stream(" x y] \"v\"  e4");
    CPgnLexer lexer;
    ASSERT_TRUE(lexer.seek(*stream.rdbuf(), 0));
    CToken token;
    ASSERT_TRUE(lexer.nextToken(K::RIGHTBRACKET, token));
    EXPECT_EQ(token.kind, K::RIGHTBRACKET);
    EXPECT_EQ(std::string(token.raw.c_str()), " x y]");
    EXPECT_EQ(token.start, 4);
    ASSERT_TRUE(lexer.nextToken(K::STRING, token));
    EXPECT_EQ(std::string(token.raw.c_str()), " \"v\"");
    EXPECT_EQ(std::string(token.text.c_str()), "v");
    EXPECT_EQ(token.start, 6);
    ASSERT_TRUE(lexer.nextToken(K::SYMBOL, token));
    EXPECT_EQ(std::string(token.text.c_str()), "e4");
    EXPECT_EQ(token.start, 11);
    EXPECT_EQ(lexer.position(), 13);
}

TEST(PgnLexer, SeekingLooksAtTheCharacterBefore) {
    std::istringstream stream("e4\n%skipped\n");
    CPgnLexer lexer;
    ASSERT_TRUE(lexer.seek(*stream.rdbuf(), 0));
    CToken token;
    ASSERT_TRUE(lexer.nextToken(K::SYMBOL, token));
    // After the line break, a "%" line is an escape line: nothing is left.
    EXPECT_FALSE(lexer.nextToken(K::SYMBOL, token));
    // Seeking to the start of a line finds the escape line there; seeking
    // into its middle does not.
    ASSERT_TRUE(lexer.seek(*stream.rdbuf(), 3));
    EXPECT_FALSE(lexer.nextToken(K::SYMBOL, token));
    ASSERT_TRUE(lexer.seek(*stream.rdbuf(), 4));
    ASSERT_TRUE(lexer.nextToken(K::SYMBOL, token));
    EXPECT_EQ(std::string(token.text.c_str()), "skipped");
    EXPECT_FALSE(lexer.seek(*stream.rdbuf(), -1));
}
