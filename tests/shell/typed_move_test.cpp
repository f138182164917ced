// Moves typed over the main window: the text shows in the status panel, Return plays it as
// a tap does, Backspace and Escape edit it, a text that is no legal move is refused with
// the default sound, and the keyboard takes no move while the engine thinks.
#include <QTest>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/status_panel.h"
#include "link_fixture.h"

using namespace platform;

namespace {

class TypedMoveTest : public EngineLinkTest {
protected:
    void SetUp() override {
        EngineLinkTest::SetUp();
        appState.autoAnswer = false;
        setStatusPanelHook(
            [this](const StatusPanelTexts& texts) { second = texts.second.c_str(); });
    }
    void TearDown() override {
        setStatusPanelHook({});
        EngineLinkTest::TearDown();
    }
    // What the panel's second line says now.
    std::string panel() {
        invalidateRect(window(), &appState.statusRect, false);
        updateWindow(window());
        return second;
    }
    std::string second;
};

} // namespace

TEST_F(TypedMoveTest, ReturnPlaysTheTextInAnyFormTheReaderKnows) {
    struct Case {
        const char* typed;
        std::vector<std::string> line;
    };
    const Case cases[] = {
        {"Nf3", {"Nf3"}}, {"g1f3", {"Nf3"}}, {"Ng1-f3", {"Nf3"}},
        {"e4", {"e4"}},   {"e5\b4", {"e4"}}, // Backspace takes the 5 back
    };
    for (const Case& c : cases) {
        appState.newGame();
        for (const char* k = c.typed; *k; ++k) {
            if (*k == '\b') {
                key(Qt::Key_Backspace);
            } else {
                type(std::string(1, *k).c_str());
            }
        }
        const std::string shown = panel();
        EXPECT_EQ(shown.rfind("Move: ", 0), 0u) << c.typed << ": " << shown;
        key(Qt::Key_Return);
        EXPECT_EQ(mainLine(), c.line) << c.typed;
        EXPECT_EQ(panel().find("Move:"), std::string::npos) << c.typed;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(TypedMoveTest, ThePromotionPieceComesFromTheText) {
    startFrom("8/4P3/8/8/8/8/k7/4K3 w - - 0 1");
    type("e8=N");
    key(Qt::Key_Return);
    EXPECT_EQ(appState.position->at(at("e8")), WHITE_KNIGHT);
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"e8=N"}));
    EXPECT_TRUE(squareShows("e8", WHITE_KNIGHT));
}

TEST_F(TypedMoveTest, ATextThatIsNoLegalMoveIsRefusedAndChangesNothing) {
    for (const char* text : {"Ke2", "e5", "Qxh7", "O-O", "zz9", "--"}) {
        appState.newGame();
        sounds.clear();
        type(text);
        key(Qt::Key_Return);
        EXPECT_TRUE(mainLine().empty()) << text;
        EXPECT_EQ(panel(), std::string("Not a legal move: ") + text);
        ASSERT_EQ(sounds.size(), 1u) << text;
        EXPECT_EQ(sounds[0], "Default") << text;
    }
    // The next key starts a new text.
    type("d4");
    EXPECT_EQ(panel(), "Move: d4");
}

TEST_F(TypedMoveTest, EscapeClearsAndReturnWithoutATextIsMoveNow) {
    type("Nf3");
    key(Qt::Key_Escape);
    EXPECT_EQ(panel().find("Move:"), std::string::npos);
    scriptedEngine().setScript("pv 10 d2d4");
    key(Qt::Key_Return);
    ASSERT_TRUE(runUntilEngineIdle());
    settle();
    EXPECT_EQ(mainLine(), (std::vector<std::string>{"d4"})) << "the engine moved for White";
}

TEST_F(TypedMoveTest, TheKeyboardTakesNoMoveWhileTheEngineThinks) {
    scriptedEngine().setScript("depth 3;pv 20 b1c3;wait");
    command(IDM_MOVE_NOW);
    ASSERT_TRUE(runUntil([] { return engineBusy(); }));
    type("e4");
    EXPECT_EQ(panel().find("Move:"), std::string::npos);
    EXPECT_TRUE(mainLine().empty());
}
