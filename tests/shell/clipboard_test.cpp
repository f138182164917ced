// Copy position, Copy game and Paste with the keys the user presses: a game copied and
// pasted back is the same game; a FEN starts a new game only when the setup dialog would
// take it; text that is neither changes nothing.
#include <QApplication>
#include <QClipboard>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "link_fixture.h"
#include "settings/autosave.h"

#include "../support/file_text.h"

using namespace platform;

namespace {

class ClipboardTest : public EngineLinkTest {
protected:
    void SetUp() override {
        EngineLinkTest::SetUp();
        appState.autoAnswer = false;
    }
    static std::string clipboard() { return QApplication::clipboard()->text().toStdString(); }
    static void setClipboard(const std::string& text) {
        QApplication::clipboard()->setText(QString::fromStdString(text));
    }
    static std::string fen() {
        char text[FEN_BUFFER_SIZE];
        appState.position->getFen(text);
        return text;
    }
};

} // namespace

TEST_F(ClipboardTest, CopyGameThenPasteGivesTheSameGame) {
    taps({"e2", "e4", "e7", "e5", "g1", "f3"});
    appState.game->setWhite(CText("Ann"));
    key(Qt::Key_C, Qt::ControlModifier);
    const std::string copied = clipboard();
    EXPECT_NE(copied.find("[White \"Ann\"]"), std::string::npos) << copied;
    EXPECT_NE(copied.find("1. e4 e5 2. Nf3"), std::string::npos) << copied;

    messageAnswer = 1;
    key(Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(mainLine().empty());
    messages.clear(); // the new game's question
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e4", "e5", "Nf3"}));
    EXPECT_EQ(std::string(appState.game->white().c_str()), "Ann");
    EXPECT_EQ(staleSquares(), "");
    EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(ClipboardTest, CopyPositionGivesTheFenAndPastingItStartsAGameThere) {
    taps({"e2", "e4"});
    key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(clipboard(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");

    setClipboard("  4k3/8/8/8/8/8/8/R3K3 w Q - 3 40\n");
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(fen(), "4k3/8/8/8/8/8/8/R3K3 w Q - 3 40");
    EXPECT_TRUE(mainLine().empty());
    EXPECT_EQ(std::string(appState.game->tag("FEN").c_str()), fen());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(staleSquares(), "");
}

TEST_F(ClipboardTest, WhatCannotBePlayedIsRefusedAndChangesNothing) {
    struct Case {
        const char* what;
        const char* text;
        const char* message; // its start
    };
    const Case cases[] = {
        {"the side not to move in check", "4k3/8/8/8/8/8/4R3/4K3 w - - 0 1",
         "The position isn\xB4t legal !"},
        {"no black king", "8/8/8/8/8/8/8/4K3 w - - 0 1", "The position isn\xB4t legal !"},
        {"nonsense", "hello, world", "The clipboard holds neither"},
        {"a FEN with a bad field", "4k3/8/8/8/8/8/8/4K3 x - - 0 1", "The clipboard holds neither"},
        {"nothing", "", "The clipboard holds neither"},
    };
    taps({"d2", "d4"});
    const std::string before = fen();
    for (const Case& c : cases) {
        messages.clear();
        setClipboard(c.text);
        key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(fen(), before) << c.what;
        EXPECT_EQ(mainLine(), (std::vector<std::string>{"d4"})) << c.what;
        ASSERT_EQ(messages.size(), 1u) << c.what;
        EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << c.what << ": " << messages[0];
    }
}

TEST_F(ClipboardTest, PastedPgnOpensItsFirstGameAndTheOldOneGoesToTheRing) {
    taps({"c2", "c4"});
    setClipboard("[Event \"one\"]\n\n1. d4 d5 *\n\n[Event \"two\"]\n\n1. e4 *\n");
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"d4", "d5"}));
    EXPECT_EQ(std::string(appState.game->event().c_str()), "one");
    EXPECT_NE(fileText(autosaveFilePath()).find("1. c4"), std::string::npos)
        << "the game before is kept";
}
