// The game list: opened by Load game for a file of several games, searched, sorted, and
// stepped through with Next game and Previous game.
#include "app/app_state.h"
#include "app/background_index.h"
#include "app/command_ids.h"
#include "app/dialog_game_file.h"
#include "app/dialog_game_list.h"
#include "database/database.h"
#include "dialog_fixture.h"
#include "platform/kernel/clock.h"
#include "platform/ui/dialog.h"
#include "platform/ui/listview.h"
#include "platform/ui/progress.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTableView>
#include <QTest>
#include <atomic>
#include <functional>

using namespace platform;

namespace {

struct GameRow {
    const char* white;
    const char* black;
    const char* result;
    const char* date;
    const char* event;
    const char* eco;
    const char* moves;
};

// Dated across the turn of 2004 to 2005; game 3 is dated by its year alone.
const GameRow FIVE_GAMES[] = {
    {"Carlsen, Magnus", "Anand, Viswanathan", "1-0", "2004.12.30", "Wijk", "B90", "1. e4 c5"},
    {"Anand, Viswanathan", "Kramnik, Vladimir", "1/2-1/2", "2005.01.02", "Linares", "D37",
     "1. d4 d5"},
    {"Kramnik, Vladimir", "Carlsen, Magnus", "0-1", "2005.??.??", "Dortmund", "C42",
     "1. e4 e5 2. Nf3"},
    {"Topalov, Veselin", "Leko, Peter", "*", "2003.06.01", "Sofia", "E15", "1. c4"},
    {"Leko, Peter", "Carlsen, Magnus", "1-0", "2006.03.04", "Wijk", "B33", "1. Nf3"},
};

std::string pgnOf(const GameRow* rows, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        const GameRow& g = rows[i];
        text += std::string("[Event \"") + g.event + "\"]\n[Site \"?\"]\n[Date \"" + g.date +
                "\"]\n[Round \"?\"]\n[White \"" + g.white + "\"]\n[Black \"" + g.black +
                "\"]\n[Result \"" + g.result + "\"]\n[ECO \"" + g.eco + "\"]\n\n" + g.moves + " " +
                g.result + "\n\n";
    }
    return text;
}

// The control of the open dialog that has the focus (or gets it once the dialog is active).
QWidget* focused() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal->focusWidget() : nullptr;
}

// Named apart from the fixture's key(), which presses keys in the main window.
void keyInDialog(Qt::Key pressed) {
    if (QWidget* widget = focused()) QTest::keyClick(widget, pressed);
}

// The text of one column, top to bottom, as the list shows it.
std::vector<std::string> column(Window* dialog, int which) {
    std::vector<std::string> cells;
    for (int row = 0; row < listViewRowCount(dialog, IDC_LIST_GAMES); ++row)
        cells.push_back(listViewCellText(dialog, IDC_LIST_GAMES, row, which));
    return cells;
}

using Strings = std::vector<std::string>;

class GameListTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        path = rootFile("five.pgn");
        writeFile(path, pgnOf(FIVE_GAMES, std::size(FIVE_GAMES)));
        fileAnswer = path;
    }

    std::string path;
};

} // namespace

TEST_F(GameListTest, LoadShowsTheListWithTheFirstGameAndTheKeysChooseAnother) {
    taps({"e2", "e4"});
    std::string title, count;
    std::vector<int> selected;
    bool listHasFocus = false;
    Strings firstRow;
    commandWith(IDM_LOAD_GAME, {[&](Window* dialog) {
                    // On a loaded machine the dialog may be shown a moment before the
                    // window system makes it active and gives its list the focus.
                    QTest::qWaitFor([] { return focused() != nullptr; }, 5000);
                    title = dialogTitle(dialog);
                    count = getDlgItemText(dialog, IDC_LIST_COUNT);
                    listHasFocus = qobject_cast<QTableView*>(focused());
                    for (int c = 0; c < COLUMN_COUNT; ++c)
                        firstRow.push_back(listViewCellText(dialog, IDC_LIST_GAMES, 0, c));
                    selected.push_back(listViewCurSel(dialog, IDC_LIST_GAMES));
                    keyInDialog(Qt::Key_End);
                    selected.push_back(listViewCurSel(dialog, IDC_LIST_GAMES));
                    keyInDialog(Qt::Key_Home);
                    selected.push_back(listViewCurSel(dialog, IDC_LIST_GAMES));
                    keyInDialog(Qt::Key_PageDown);
                    selected.push_back(listViewCurSel(dialog, IDC_LIST_GAMES));
                    keyInDialog(Qt::Key_PageUp);
                    keyInDialog(Qt::Key_Down);
                    keyInDialog(Qt::Key_Down);
                    selected.push_back(listViewCurSel(dialog, IDC_LIST_GAMES));
                    keyInDialog(Qt::Key_Return);
                }});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(unexpectedDialogs.empty());
    EXPECT_EQ(title, "Games in five.pgn");
    EXPECT_EQ(count, "5 of 5 games");
    EXPECT_TRUE(listHasFocus);
    EXPECT_EQ(firstRow, (Strings{"1", "Carlsen, Magnus", "Anand, Viswanathan", "1-0", "2004.12.30",
                                 "Wijk", "B90", "1"}));
    EXPECT_EQ(selected, (std::vector<int>{0, 4, 0, 4, 2}));
    EXPECT_EQ(appState.game->white(), "Kramnik, Vladimir");
    EXPECT_EQ(mainLine(), (Strings{"e4", "e5", "Nf3"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(GameListTest, TheSearchFieldsFilterAndEscapeKeepsTheCurrentGame) {
    taps({"e2", "e4"});
    std::vector<std::pair<std::string, Strings>> seen; // the count and the game numbers
    const auto look = [&seen](Window* dialog) {
        seen.emplace_back(getDlgItemText(dialog, IDC_LIST_COUNT), column(dialog, COLUMN_NUMBER));
    };
    commandWith(IDM_LOAD_GAME, {[&](Window* dialog) {
                                    typeDlgItemText(dialog, IDC_LIST_WHITE, "carlsen");
                                    look(dialog);
                                    clickDlgItem(dialog, IDC_LIST_ANY_COLOUR);
                                    look(dialog);
                                    typeDlgItemText(dialog, IDC_LIST_BLACK, "Anand");
                                    look(dialog); // Carlsen and Anand, in either colour
                                    typeDlgItemText(dialog, IDC_LIST_WHITE, "");
                                    typeDlgItemText(dialog, IDC_LIST_BLACK, "");
                                    chooseDlgListItem(dialog, IDC_LIST_RESULT, 1); // 1-0
                                    look(dialog);
                                    chooseDlgListItem(dialog, IDC_LIST_RESULT, 0);
                                    typeDlgItemText(dialog, IDC_LIST_DATE_FROM, "2004.12.01");
                                    typeDlgItemText(dialog, IDC_LIST_DATE_TO, "2005.01.31");
                                    look(dialog);
                                    typeDlgItemText(dialog, IDC_LIST_DATE_FROM, "2005");
                                    typeDlgItemText(dialog, IDC_LIST_DATE_TO, "");
                                    typeDlgItemText(dialog, IDC_LIST_EVENT, "wijk");
                                    look(dialog);
                                    typeDlgItemText(dialog, IDC_LIST_EVENT, "");
                                    typeDlgItemText(dialog, IDC_LIST_ECO, "A0");
                                    look(dialog); // nothing shown: Open cannot open anything
                                    seen.back().first +=
                                        isDlgItemEnabled(dialog, IDOK) ? " open" : " no open";
                                },
                                pressCancel()});
    EXPECT_EQ(actionsLeft, 0u);
    const std::vector<std::pair<std::string, Strings>> expected = {
        {"1 of 5 games", {"1"}},      {"3 of 5 games", {"1", "3", "5"}}, {"1 of 5 games", {"1"}},
        {"2 of 5 games", {"1", "5"}}, {"3 of 5 games", {"1", "2", "3"}}, {"1 of 5 games", {"5"}},
        {"0 of 5 games no open", {}},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(mainLine(), Strings{"e4"}) << "Escape keeps the game";
    EXPECT_TRUE(messages.empty());
}

TEST_F(GameListTest, AHeadingSortsAndAgainTheOtherWayAndADoubleClickOpens) {
    std::vector<Strings> seen;
    commandWith(IDM_LOAD_GAME, {[&](Window* dialog) {
                    seen.push_back(column(dialog, COLUMN_MOVES));
                    clickListViewHeading(dialog, IDC_LIST_GAMES, COLUMN_MOVES);
                    seen.push_back(column(dialog, COLUMN_NUMBER));
                    clickListViewHeading(dialog, IDC_LIST_GAMES, COLUMN_MOVES);
                    seen.push_back(column(dialog, COLUMN_NUMBER));
                    clickListViewHeading(dialog, IDC_LIST_GAMES, COLUMN_WHITE);
                    seen.push_back(column(dialog, COLUMN_NUMBER));
                    clickListViewHeading(dialog, IDC_LIST_GAMES, COLUMN_WHITE);
                    seen.push_back(column(dialog, COLUMN_NUMBER));
                    clickListViewHeading(dialog, IDC_LIST_GAMES, COLUMN_DATE);
                    seen.push_back(column(dialog, COLUMN_NUMBER));
                    // The order stays while the search narrows the list.
                    typeDlgItemText(dialog, IDC_LIST_EVENT, "i");
                    seen.push_back(column(dialog, COLUMN_NUMBER));
                    clickListViewHeading(dialog, IDC_LIST_GAMES, COLUMN_NUMBER);
                    seen.push_back(column(dialog, COLUMN_NUMBER));
                    doubleClickListViewRow(dialog, IDC_LIST_GAMES, 2);
                }});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(unexpectedDialogs.empty());
    EXPECT_EQ(seen, (std::vector<Strings>{{"1", "1", "2", "1", "1"},
                                          {"1", "2", "4", "5", "3"},
                                          {"3", "1", "2", "4", "5"},
                                          {"2", "1", "3", "5", "4"},
                                          {"4", "5", "3", "1", "2"},
                                          {"4", "1", "2", "3", "5"},
                                          {"4", "1", "2", "5"},
                                          {"1", "2", "4", "5"}}));
    EXPECT_EQ(appState.game->white(), "Topalov, Veselin");
}

TEST_F(GameListTest, NextAndPreviousGameStepThroughTheFileAndTheListShowsWhereOneIs) {
    commandWith(IDM_LOAD_GAME, {pressOk()});
    EXPECT_EQ(appState.game->white(), "Carlsen, Magnus");
    command(IDM_PREVIOUS_GAME);
    EXPECT_EQ(messages, Strings{"Game 1 is the first game in five.pgn"});
    EXPECT_EQ(appState.game->white(), "Carlsen, Magnus");
    messages.clear();
    for (int step = 0; step < 4; ++step)
        command(IDM_NEXT_GAME);
    EXPECT_EQ(appState.game->white(), "Leko, Peter");
    command(IDM_NEXT_GAME);
    EXPECT_EQ(messages, Strings{"Game 5 is the last game in five.pgn"});
    command(IDM_PREVIOUS_GAME);
    EXPECT_EQ(appState.game->white(), "Topalov, Veselin");
    EXPECT_EQ(mainLine(), Strings{"c4"});

    int selected = -2;
    commandWith(IDM_GAME_LIST, {[&selected](Window* dialog) {
                    selected = listViewCurSel(dialog, IDC_LIST_GAMES);
                    endDialog(dialog, IDCANCEL);
                }});
    EXPECT_EQ(selected, 3);
    EXPECT_EQ(fileAsks.size(), 1u) << "the list is of the file loaded, without asking";
}

TEST_F(GameListTest, WithoutALoadedFileTheCommandsSaySoOrLoad) {
    gameDatabase().close();
    taps({"e2", "e4"});
    command(IDM_NEXT_GAME);
    EXPECT_EQ(messages, Strings{"No file is loaded: Load game first"});
    fileAnswer.clear();
    command(IDM_GAME_LIST);
    EXPECT_EQ(fileAsks.size(), 1u) << "Game list asks for a file as Load game does";
    EXPECT_EQ(mainLine(), Strings{"e4"});
}

namespace {

// Serves the dialog's events until the condition holds (a long deadline, never a measure).
bool waitFor(const std::function<bool()>& condition) {
    for (int round = 0; round < 60000 && !condition(); ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        sleepMs(1);
    }
    return condition();
}

// A file of 20,000 games indexed in the background, its worker held after each batch it
// hands over until the test lets it go or the indexing is stopped.
class IndexingTest : public GameListTest {
protected:
    void SetUp() override {
        GameListTest::SetUp();
        commandWith(IDM_LOAD_GAME, {pressOk()});
        taps({"d2", "d4"});
        before = mainLine();
        for (int copy = 0; copy < 4000; ++copy)
            many += pgnOf(FIVE_GAMES, std::size(FIVE_GAMES));
        large = rootFile("large.pgn");
        writeFile(large, many);
        setBackgroundIndexSize(0);
        setIndexHold([this](size_t, const std::function<bool()>& stopping) {
            while (!released && !stopping())
                sleepMs(1);
        });
        fileAnswer = large;
    }
    void TearDown() override {
        setIndexHold(nullptr);
        setBackgroundIndexSize(16 << 20);
        GameListTest::TearDown();
    }

    Strings before;
    std::string many;
    std::string large;
    std::atomic<bool> released{false};
};

} // namespace

TEST_F(IndexingTest, TheListShowsTheGamesSoFarAndItsCancelStopsAndKeepsThem) {
    std::string title, during, stopped, filtered;
    int shown = 0;
    int kept = -1;
    bool barDuring = false;
    bool barAfter = true;
    commandWith(IDM_LOAD_GAME,
                {[&](Window* dialog) {
                     title = dialogTitle(dialog);
                     waitFor([dialog] { return listViewRowCount(dialog, IDC_LIST_GAMES) > 0; });
                     shown = listViewRowCount(dialog, IDC_LIST_GAMES);
                     during = getDlgItemText(dialog, IDC_LIST_COUNT);
                     barDuring = isDlgItemShown(dialog, IDC_LIST_PROGRESS);
                     clickDlgItem(dialog, IDC_LIST_STOP);
                     kept = listViewRowCount(dialog, IDC_LIST_GAMES);
                     stopped = getDlgItemText(dialog, IDC_LIST_COUNT);
                     barAfter = isDlgItemShown(dialog, IDC_LIST_PROGRESS) ||
                                isDlgItemShown(dialog, IDC_LIST_STOP);
                     typeDlgItemText(dialog, IDC_LIST_WHITE, "topalov");
                     filtered = getDlgItemText(dialog, IDC_LIST_COUNT);
                 },
                 pressCancel()});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_EQ(title, "Games in large.pgn");
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 20000) << "the worker is held after its first batch";
    const std::string count = std::to_string(shown);
    EXPECT_EQ(during, count + " of " + count + " games so far");
    EXPECT_TRUE(barDuring);
    EXPECT_EQ(kept, shown) << "a stopped indexing keeps the games it found";
    EXPECT_EQ(stopped, count + " of " + count + " games, indexing stopped");
    EXPECT_FALSE(barAfter);
    EXPECT_EQ(filtered,
              std::to_string((shown + 1) / 5) + " of " + count + " games, indexing stopped")
        << "the search applies to the games there";
    EXPECT_EQ(mainLine(), before) << "closing the list keeps the game";
    EXPECT_EQ(gameDatabase().fileName(), path.c_str()) << "and the file loaded before";
    EXPECT_EQ(gameDatabase().index().size(), 5u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(IndexingTest, AGameOpenedWhileIndexingOpensOnceTheIndexIsComplete) {
    std::string waiting;
    int progress = -1;
    commandWith(IDM_LOAD_GAME, {[&](Window* dialog) {
                    waitFor([dialog] { return listViewRowCount(dialog, IDC_LIST_GAMES) > 2; });
                    progress = dlgItemProgress(dialog, IDC_LIST_PROGRESS);
                    listViewSetCurSel(dialog, IDC_LIST_GAMES, 2);
                    clickDlgItem(dialog, IDOK);
                    waiting = getDlgItemText(dialog, IDC_LIST_COUNT);
                    released = true;
                    waitFor([] { return QApplication::activeModalWidget() == nullptr; });
                }});
    EXPECT_EQ(actionsLeft, 0u);
    EXPECT_TRUE(unexpectedDialogs.empty());
    EXPECT_EQ(waiting, "Game 3 opens once the file is indexed");
    EXPECT_GE(progress, 0);
    EXPECT_LT(progress, 1000);
    EXPECT_EQ(appState.game->white(), "Kramnik, Vladimir");
    EXPECT_EQ(mainLine(), (Strings{"e4", "e5", "Nf3"}));
    const std::vector<GameIndexEntry>& index = gameDatabase().index();
    ASSERT_EQ(index.size(), 20000u) << "the file is loaded with its whole index";
    EXPECT_EQ(gameDatabase().fileName(), large.c_str());
    EXPECT_EQ(index[19999].number, 19999);
    EXPECT_EQ(std::string(index[19999].white.c_str()), "Leko, Peter");
    EXPECT_EQ(index[19999].end, int64_t(many.size()));
    EXPECT_EQ(index[19999].plies, 1);
    command(IDM_NEXT_GAME);
    EXPECT_EQ(appState.game->white(), "Topalov, Veselin");
}

TEST_F(IndexingTest, ClosingTheListWhileIndexingStopsTheWorkerAndKeepsEverything) {
    int shown = 0;
    commandWith(IDM_LOAD_GAME, {[&shown](Window* dialog) {
                    waitFor([dialog] { return listViewRowCount(dialog, IDC_LIST_GAMES) > 0; });
                    shown = listViewRowCount(dialog, IDC_LIST_GAMES);
                    QApplication::activeModalWidget()->close();
                }});
    EXPECT_GT(shown, 0);
    EXPECT_TRUE(unexpectedDialogs.empty()) << "no other list after the close";
    EXPECT_EQ(mainLine(), before);
    EXPECT_EQ(gameDatabase().fileName(), path.c_str());
    EXPECT_EQ(gameDatabase().index().size(), 5u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(IndexingTest, AFileFoundEmptyOrOfOneGameEndsTheListAsLoadGameWould) {
    struct Case {
        std::string text;
        Strings messages;
        Strings mainLine;
    };
    const Case cases[] = {
        {"", {"No game could be read from " + large}, before},
        {pgnOf(FIVE_GAMES + 2, 1), {}, {"e4", "e5", "Nf3"}},
    };
    released = true;
    for (const Case& test : cases) {
        writeFile(large, test.text);
        messages.clear();
        // The list may end before the script sees it: then its action is left unused.
        commandWith(IDM_LOAD_GAME, {[](Window*) {
                        waitFor([] { return QApplication::activeModalWidget() == nullptr; });
                    }});
        EXPECT_TRUE(unexpectedDialogs.empty()) << test.text;
        EXPECT_EQ(messages, test.messages) << test.text;
        EXPECT_EQ(mainLine(), test.mainLine) << test.text;
    }
}
