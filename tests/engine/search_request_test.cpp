// What the engine is sent of the game: the start, the moves up to the current node, the
// ply to be played and the book.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/search_request.h"
#include "memory_settings.h"
#include "platform/kernel/paths.h"

#include "../support/fen_text.h"
#include "../support/read_pgn.h"

namespace {

// The node reached by following child 0 plies times.
const CMoveNode* mainLineNode(const CGame& game, int plies) {
    const CMoveNode* node = game.root();
    for (int i = 0; i < plies; ++i)
        node = node->child(0);
    return node;
}

std::vector<std::string> texts(const std::vector<CText>& moves) {
    std::vector<std::string> result;
    for (const CText& move : moves)
        result.emplace_back(move.c_str());
    return result;
}

const char CASTLING_AND_PROMOTION[] =
    "[SetUp \"1\"]\n[FEN \"r3k3/6P1/8/8/8/8/8/4K2R w Kq - 0 30\"]\n\n30. O-O O-O-O 31. g8=N *\n";

} // namespace

TEST(SearchRequest, TheGameUpToTheNodeAsStartAndCoordinateMoves) {
    struct Case {
        const char* what;
        const char* pgn;
        int plies; // the node: so many moves along the main line
        const char* fen;
        std::vector<std::string> moves;
        int32_t plyNumber;
        const char* position;
    };
    const Case cases[] = {
        {"a new game", "*\n", 0, START_FEN, {}, 1, START_FEN},
        {"three moves in",
         "1. e4 e5 2. Nf3 *\n",
         3,
         START_FEN,
         {"e2e4", "e7e5", "g1f3"},
         4,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2"},
        {"the current node inside the line",
         "1. e4 e5 2. Nf3 *\n",
         1,
         START_FEN,
         {"e2e4"},
         2,
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
        {"a set-up position with castling and an under-promotion",
         CASTLING_AND_PROMOTION,
         3,
         "r3k3/6P1/8/8/8/8/8/4K2R w Kq - 0 30",
         {"e1g1", "e8c8", "g7g8n"},
         4,
         "2kr2N1/8/8/8/8/8/8/5RK1 b - - 0 31"},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<CGame> game = readPgn(c.pgn).game;
        ASSERT_TRUE(game) << c.what;
        MemorySettings settings;
        const SearchRequest request =
            gameSearchRequest(*game, mainLineNode(*game, c.plies), settings);
        EXPECT_STREQ(request.fen.c_str(), c.fen) << c.what;
        EXPECT_EQ(texts(request.moves), c.moves) << c.what;
        EXPECT_EQ(request.plyNumber, c.plyNumber) << c.what;
        EXPECT_EQ(fenOf(request.position), c.position) << c.what;
        EXPECT_EQ(request.bookUse, 2) << c.what;
    }
}

TEST(SearchRequest, TheBookStoredOrTheDefaultAsAPathOfThisSystem) {
    // The documents folder is made when it is asked for: under a root of the test's own.
    char pattern[] = "/tmp/tallowmere-book-XXXXXX";
    const char* root = mkdtemp(pattern);
    ASSERT_NE(root, nullptr);
    const std::string previousRoot = platform::rootFolder();
    platform::setRootFolder(std::string(root) + "/");
    const std::unique_ptr<CGame> game = readPgn("*\n").game;
    ASSERT_TRUE(game);
    MemorySettings settings;
    EXPECT_EQ(std::string(gameSearchRequest(*game, game->root(), settings).book.c_str()),
              platform::documentsFolder() + "zorbook.gbk");
    settings.setString("Bookfilename", "/opt/books/wide.gbk");
    EXPECT_STREQ(gameSearchRequest(*game, game->root(), settings).book.c_str(),
                 "/opt/books/wide.gbk");
    settings.setString("Bookfilename", "\\My Documents\\narrow.gbk");
    EXPECT_EQ(std::string(gameSearchRequest(*game, game->root(), settings).book.c_str()),
              platform::documentsFolder() + "narrow.gbk");
    platform::setRootFolder(previousRoot);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}
