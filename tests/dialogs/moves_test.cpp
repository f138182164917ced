// The Moves dialog: the game as text with the current move selected, the three boxes
// that choose what is shown, and a tap that goes to a move.
#include "app/command_ids.h"
#include "database/database.h"
#include "dialog_fixture.h"
#include "pgn/pgn_reader.h"
#include "platform/ui/dialog.h"
#include "settings/settings.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

using namespace platform;

namespace {

enum : int { IDC_MOVE_TEXT = 370, IDC_LINES = 372, IDC_COMMENTS = 373, IDC_INFO = 374 };

// What the box shows selected, in the 8-bit text the game renders.
std::string selectedText(Window* dialog) {
    int start = 0;
    int end = 0;
    editGetSel(dialog, IDC_MOVE_TEXT, &start, &end);
    const std::string text = appState.game->toString().c_str();
    if (start < 0 || end < start || size_t(end) > text.size()) return "?";
    return text.substr(size_t(start), size_t(end - start));
}

// The start of the selection is inside the box's visible part.
bool selectionInSight() {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = modal ? modal->findChild<QPlainTextEdit*>() : nullptr;
    if (!box) return false;
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(cursor.selectionStart());
    return box->viewport()->rect().contains(box->cursorRect(cursor));
}

// Taps the first place in the box where text is shown, as the stylus would.
void tapText(const char* text) {
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = modal ? modal->findChild<QPlainTextEdit*>() : nullptr;
    if (!box) return;
    const int at = int(box->toPlainText().indexOf(QString::fromUtf8(text)));
    if (at < 0) return;
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(at + 1);
    const QPoint point = box->cursorRect(cursor).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, point);
}

class MovesTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        CPgnReader reader;
        CDatabase database(reader);
        ASSERT_TRUE(database.open(dataFile("dialogs/three_games.pgn").c_str()));
        appState.setLoadedGame(database.gameAt(0).release());
        settle();
        for (const char* key : {"IDC_CBGAMETAGS", "IDC_CBGAMECOMMENTS", "IDC_CBGAMEVARIATIONS"})
            appState.settings->setInt(key, 1);
    }

    void showMoves(std::vector<DialogScript::Action> actions) {
        commandWith(IDM_GAME_MOVES, std::move(actions));
        EXPECT_EQ(actionsLeft, 0u);
        EXPECT_TRUE(unexpectedDialogs.empty());
    }

    // The main-line node whose move text is san.
    static CMoveNode* mainLineNode(const char* san) {
        for (CMoveNode* node = appState.game->root(); node->hasChildren();) {
            node = node->child(0);
            if (node->moveText == san) return node;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(MovesTest, OpensWithTheCurrentMoveSelectedAndInSight) {
    struct Case {
        const char* currentMove; // main line; null: the start of the game
        const char* selected;
        bool scrolled;
    };
    const Case cases[] = {
        {"Rd8#", "17.\r\nRd8#", true},
        {"e5", "e5", true}, // below the tags
        {"Bg4", "Bg4\r\n{A poor move.}", true}, // the brace stays with its word
        {nullptr, "", false},
    };
    for (const Case& c : cases) {
        appState.goToNode(c.currentMove ? mainLineNode(c.currentMove) : appState.game->root());
        std::string selected;
        int firstVisible = -1;
        bool inSight = false;
        showMoves({[&](Window* dialog) {
                       selected = selectedText(dialog);
                       firstVisible = editFirstVisibleLine(dialog, IDC_MOVE_TEXT);
                       inSight = selectionInSight();
                   },
                   pressOk()});
        const char* name = c.currentMove ? c.currentMove : "start";
        EXPECT_EQ(selected, c.selected) << name;
        EXPECT_EQ(firstVisible > 0, c.scrolled) << name;
        EXPECT_TRUE(inSight) << name;
        // Closing with the move selected stays where the game stood.
        EXPECT_EQ(appState.currentNode,
                  c.currentMove ? mainLineNode(c.currentMove) : appState.game->root())
            << name;
    }
}

TEST_F(MovesTest, TheLinesBoxHidesVariationsAndIsRemembered) {
    std::vector<std::string> seen;
    auto look = [&seen](Window* dialog) {
        const std::string text = getDlgItemText(dialog, IDC_MOVE_TEXT);
        seen.push_back(std::string(isDlgButtonChecked(dialog, IDC_LINES) ? "lines" : "no lines") +
                       (text.find("(3.. exd4") != std::string::npos ? ", variation" : "") +
                       (text.find("[Event") != std::string::npos ? ", tags" : "") +
                       (text.find("A poor move.") != std::string::npos ? ", comment" : ""));
    };
    showMoves({look, [](Window* dialog) { clickDlgItem(dialog, IDC_LINES); }, look, pressOk()});
    int32_t stored = -1;
    appState.settings->getInt("IDC_CBGAMEVARIATIONS", &stored);
    EXPECT_EQ(stored, 0);
    showMoves({look,
               [](Window* dialog) {
                   clickDlgItem(dialog, IDC_INFO);
                   clickDlgItem(dialog, IDC_COMMENTS);
               },
               look, pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{"lines, variation, tags, comment",
                                              "no lines, tags, comment", "no lines, tags, comment",
                                              "no lines"}));
    for (const char* key : {"IDC_CBGAMETAGS", "IDC_CBGAMECOMMENTS"}) {
        appState.settings->getInt(key, &stored);
        EXPECT_EQ(stored, 0) << key;
    }
}

TEST_F(MovesTest, ATapSelectsTheWholeMoveAndClosingGoesThere) {
    struct Case {
        const char* tapped;
        const char* selected;
        const char* move;
        const char* after; // the move before it
    };
    const Case cases[] = {
        {"Qb3", "7. Qb3", "Qb3", "Nf6"},
        {"Nf6", "Nf6", "Nf6", "Bc4"},
        // In the variation: its range starts one past its first character, as the first
        // move's does, since no blank stands before it.
        {"exd4 4.", ".. exd4", "exd4", "d4"},
    };
    for (const Case& c : cases) {
        std::string selected;
        showMoves({[&c](Window*) { tapText(c.tapped); },
                   [&selected](Window* dialog) { selected = selectedText(dialog); }, pressOk()});
        EXPECT_EQ(selected, c.selected) << c.tapped;
        EXPECT_EQ(appState.currentNode->moveText, c.move) << c.tapped;
        EXPECT_EQ(appState.currentNode->parent->moveText, c.after) << c.tapped;
    }
    EXPECT_EQ(mainLine().size(), 33u) << "going to a move changes no move";
    EXPECT_TRUE(squareShows("d4", BLACK_PAWN));
    EXPECT_TRUE(squareShows("e5", EMPTY));
}

TEST_F(MovesTest, AMoveHiddenWithTheLinesSelectsNothingAndStays) {
    // The current move lies in a variation that the text leaves out.
    CMoveNode* variation = mainLineNode("d4")->child(1);
    ASSERT_EQ(variation->moveText, "exd4");
    appState.goToNode(variation);
    appState.settings->setInt("IDC_CBGAMEVARIATIONS", 0);
    std::string selected = "?";
    showMoves({[&selected](Window* dialog) { selected = selectedText(dialog); }, pressOk()});
    EXPECT_EQ(selected, "");
    EXPECT_EQ(appState.currentNode, variation);
}
