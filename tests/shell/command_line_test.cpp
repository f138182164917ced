// The command line's book or game file: quoted as the handheld passed it, or bare as a
// Linux shell does; anything else names no file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/command_line.h"

TEST(CommandLine, APathEndingInGbkOrPgnIsTaken) {
    struct Case {
        const char* line;
        const char* book;
        const char* pgn;
    } cases[] = {
        {"\"/home/ann/books/main.gbk\"", "/home/ann/books/main.gbk", ""},
        {"/home/ann/books/main.gbk", "/home/ann/books/main.gbk", ""},
        {"\"/home/ann/My Games/club.pgn\"", "", "/home/ann/My Games/club.pgn"},
        {"/home/ann/club.pgn", "", "/home/ann/club.pgn"},
        {"  \"/a/b.gbk\"  ", "/a/b.gbk", ""},
        {"\".gbk\"", "", ""}, // an ending without a name
        {"\"/a/b.txt\"", "", ""},
        {"\"/a/b.GBK\"", "", ""},
        {"\"/a/b.gbk\" \"/c/d.pgn\"", "", ""}, // two files: neither is the one path
        {"\"/a/b.gbk", "", ""},                // an unclosed quote
        {"\"\"", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const CommandLinePaths paths = pathsFromCommandLine(c.line);
        EXPECT_EQ(std::string(paths.book.c_str()), c.book) << c.line;
        EXPECT_EQ(std::string(paths.pgn.c_str()), c.pgn) << c.line;
    }
    const CommandLinePaths none = pathsFromCommandLine(nullptr);
    EXPECT_TRUE(none.book.isEmpty() && none.pgn.isEmpty());
}

TEST(CommandLine, ARelativeBookIsKeptAsTheAbsolutePathItNamesAtStart) {
    const std::string here = std::filesystem::current_path().string();
    const std::string parent = std::filesystem::current_path().parent_path().string();
    struct Case {
        const char* line;
        std::string book;
        const char* pgn;
    } cases[] = {
        {"\"x.gbk\"", here + "/x.gbk", ""},
        {"books/main.gbk", here + "/books/main.gbk", ""},
        {"./books/../main.gbk", here + "/main.gbk", ""},
        {"../main.gbk", parent + "/main.gbk", ""},
        {"\\My documents\\zorbook.gbk", "\\My documents\\zorbook.gbk", ""}, // the handheld's
        {"club.pgn", "", "club.pgn"}, // opened at once, from here
    };
    for (const Case& c : cases) {
        const CommandLinePaths paths = pathsFromCommandLine(c.line);
        EXPECT_EQ(std::string(paths.book.c_str()), c.book) << c.line;
        EXPECT_EQ(std::string(paths.pgn.c_str()), c.pgn) << c.line;
    }
}
