// The Options sheet: the level presets, the bitmaps, the animation and the switches.
#include "app/command_ids.h"
#include "app/dialog_options.h"
#include "board/board_drawing.h"
#include "dialog_fixture.h"
#include "engine/level_settings.h"
#include "platform/ui/dialog.h"

#include <QImage>

using namespace platform;

namespace {

DialogScript::Action choose(int id, int row) {
    return [id, row](Window* page) { chooseDlgListItem(page, id, row); };
}

// True when the window's square shows the piece of the strip on the board texture.
bool squareShowsFrom(const QImage& shown, const char* square, Piece piece, int strip, int texture) {
    const QImage board = QImage(QString(":/tallowmere/bitmaps/%1.png").arg(texture))
                             .convertToFormat(QImage::Format_RGB32);
    const QImage pieces = QImage(QString(":/tallowmere/bitmaps/%1.png").arg(strip))
                              .convertToFormat(QImage::Format_RGB32);
    const Square s = at(square);
    const bool dark = (rankOf(s) & 1) == (fileOf(s) & 1);
    const int left = fileOf(s) * 30;
    const int top = (7 - rankOf(s)) * 30;
    const int image = stripIndex(piece);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            QRgb expected = board.pixel((dark ? 30 : 0) + x, y);
            const QRgb colour = pieces.pixel(image * 30 + x, y);
            if ((colour & 0xFFFFFF) != 0xC0C0C0) expected = colour;
            if ((shown.pixel(left + x, top + y) & 0xFFFFFF) != (expected & 0xFFFFFF)) return false;
        }
    }
    return true;
}

class OptionsTest : public DialogTest {
protected:
    void options(std::vector<DialogScript::Action> actions) {
        commandWith(IDM_OPTIONS, std::move(actions));
        EXPECT_EQ(actionsLeft, 0u);
        EXPECT_TRUE(unexpectedDialogs.empty());
        settle();
    }
};

} // namespace

TEST_F(OptionsTest, TheLevelListShowsTheLevelAndOkTakesTheChosenRow) {
    struct Case {
        const char* what;
        int32_t mode, fixedPlies, fixedSeconds; // before
        int chosenRow;                          // -1: none chosen
        const char* shown;
        int32_t modeAfter, pliesAfter, secondsAfter;
    };
    const Case cases[] = {
        {"a tournament level shows as one and stays", LEVEL_TOURNAMENT, 99, 5, -1, "Tournament",
         LEVEL_TOURNAMENT, 99, 5},
        {"a tournament level turned to a preset", LEVEL_TOURNAMENT, 99, 5, 0, "Tournament",
         LEVEL_FIXED, 1, NO_TIME_LIMIT},
        {"a blitz level shows as one and stays", LEVEL_BLITZ, 7, 3, -1, "Blitz", LEVEL_BLITZ, 7, 3},
        {"a fixed level of no preset stays", LEVEL_FIXED, 7, 3, -1, "", LEVEL_FIXED, 7, 3},
        {"an unknown mode shows the preset of its fixed figures, which OK takes", 7, 99, 5, -1,
         "5sec/move", LEVEL_FIXED, 99, 5},
        {"a preset chosen", LEVEL_FIXED, 1, NO_TIME_LIMIT, 10, "Novice", LEVEL_FIXED, 99,
         NO_TIME_LIMIT},
    };
    for (const Case& c : cases) {
        appState.level = LevelSettings();
        appState.level.fixedPlies = c.fixedPlies;
        appState.level.fixedSeconds = c.fixedSeconds;
        appState.level.mode = c.mode;
        std::string shown = "?";
        int rows = 0;
        std::vector<DialogScript::Action> actions = {[&](Window* page) {
            shown = getDlgItemText(page, IDC_LEVEL);
            rows = listCount(page, IDC_LEVEL);
        }};
        if (c.chosenRow >= 0) actions.push_back(choose(IDC_LEVEL, c.chosenRow));
        actions.push_back(pressOk());
        options(actions);
        EXPECT_EQ(rows, 13) << c.what;
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_EQ(appState.level.mode, c.modeAfter) << c.what;
        EXPECT_EQ(appState.level.fixedPlies, c.pliesAfter) << c.what;
        EXPECT_EQ(appState.level.fixedSeconds, c.secondsAfter) << c.what;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsTest, TheLevelIsChosenFromTheListAndCannotBeTyped) {
    appState.level = LevelSettings();
    appState.level.setFixed(1, NO_TIME_LIMIT);
    bool typed = true;
    std::string shown;
    options({[&](Window* page) {
                 typed = typeDlgItemText(page, IDC_LEVEL, "Grandmaster");
                 shown = getDlgItemText(page, IDC_LEVEL);
             },
             pressOk()});
    EXPECT_FALSE(typed) << "the list takes no typing";
    EXPECT_EQ(shown.find("Grandmaster"), std::string::npos);
    EXPECT_EQ(appState.level.mode, LEVEL_FIXED);
    EXPECT_EQ(appState.level.fixedPlies, 1) << "the level stays";
    EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsTest, BlitzAndTournamentTakeTheTypedFigures) {
    appState.level = LevelSettings();
    // What the page shows of the timed levels: the texts of its eight fields, and whether
    // the blitz and the tournament fields can be typed in.
    const int fields[] = {IDC_BLITZ_MINUTES,   IDC_BLITZ_INCREMENT, IDC_PERIOD1_MOVES,
                          IDC_PERIOD1_MINUTES, IDC_PERIOD2_MOVES,   IDC_PERIOD2_MINUTES,
                          IDC_PERIOD3_MOVES,   IDC_PERIOD3_MINUTES};
    std::vector<std::string> seen;
    auto look = [&](Window* page) {
        seen.clear();
        for (int id : fields)
            seen.push_back(getDlgItemText(page, id));
        seen.push_back(isDlgItemEnabled(page, IDC_BLITZ_MINUTES) ? "blitz on" : "blitz off");
        seen.push_back(isDlgItemEnabled(page, IDC_PERIOD3_MINUTES) ? "periods on" : "periods off");
    };
    auto type = [](int id, const char* text) {
        return [id, text](Window* page) { typeDlgItemText(page, id, text); };
    };

    options({look, choose(IDC_LEVEL, LEVEL_ROW_BLITZ), type(IDC_BLITZ_MINUTES, "0:30"),
             type(IDC_BLITZ_INCREMENT, "2"), pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{"5", "0", "40", "5", "40", "5", "40", "5",
                                              "blitz off", "periods off"}))
        << "the built-in figures, none to type at a fixed level";
    EXPECT_EQ(appState.level.mode, LEVEL_BLITZ);
    EXPECT_EQ(appState.level.blitzSeconds, 30);
    EXPECT_EQ(appState.level.blitzIncrement, 2);

    // Opened again, the page shows the blitz level as it is, and OK keeps it to the second.
    options({look, pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{"0:30", "2", "40", "5", "40", "5", "40", "5",
                                              "blitz on", "periods off"}));
    EXPECT_EQ(appState.level.blitzSeconds, 30);

    options({choose(IDC_LEVEL, LEVEL_ROW_TOURNAMENT), look, type(IDC_PERIOD1_MINUTES, "90"),
             type(IDC_PERIOD2_MOVES, " 20 "), type(IDC_PERIOD2_MINUTES, "30"),
             type(IDC_PERIOD3_MOVES, "0"), type(IDC_PERIOD3_MINUTES, "0:45"), pressOk()});
    EXPECT_EQ(seen.back(), "periods on");
    EXPECT_EQ(seen[seen.size() - 2], "blitz off");
    const LevelSettings& level = appState.level;
    EXPECT_EQ(level.mode, LEVEL_TOURNAMENT);
    EXPECT_EQ((std::vector<int32_t>{level.tournamentMoves1, level.tournamentSeconds1,
                                    level.tournamentMoves2, level.tournamentSeconds2,
                                    level.tournamentMoves3, level.tournamentSeconds3}),
              (std::vector<int32_t>{40, 5400, 20, 1800, 0, 45}));
    EXPECT_EQ(level.blitzSeconds, 30) << "the blitz figures stay for the next time";
    EXPECT_TRUE(messages.empty());

    // Figures that do not read leave the level as it was, and say so.
    const LevelSettings before = appState.level;
    options({choose(IDC_LEVEL, LEVEL_ROW_BLITZ), type(IDC_BLITZ_MINUTES, "five"), pressOk()});
    options({type(IDC_PERIOD2_MOVES, "-3"), pressOk()});
    options({type(IDC_PERIOD1_MINUTES, "1:75"), pressOk()});
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_NE(messages[0].find("blitz"), std::string::npos) << messages[0];
    EXPECT_NE(messages[1].find("tournament"), std::string::npos) << messages[1];
    EXPECT_EQ(appState.level.mode, before.mode);
    EXPECT_EQ(appState.level.tournamentMoves2, before.tournamentMoves2);
    EXPECT_EQ(appState.level.tournamentSeconds1, before.tournamentSeconds1);
    EXPECT_EQ(appState.level.blitzSeconds, before.blitzSeconds);
}

TEST_F(OptionsTest, AnotherChessSetOrBoardIsLoadedAndShown) {
    EXPECT_TRUE(squareShowsFrom(shown(), "e1", WHITE_KING, 116, 138));
    std::vector<std::string> seen;
    options({[&seen](Window* page) {
                 seen = {getDlgItemText(page, IDC_CHESS_SET), getDlgItemText(page, IDC_BOARD_TYPE)};
             },
             choose(IDC_CHESS_SET, 1), pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{"Deluxe", "Blue Marble"}));
    EXPECT_EQ(appState.pieceBitmapId24, 142);
    EXPECT_EQ(appState.pieceBitmapId30, 144);
    EXPECT_TRUE(squareShowsFrom(shown(), "e1", WHITE_KING, 144, 138));

    // The same set again reloads nothing.
    Bitmap* const strip = shell.pieceStrip;
    options({choose(IDC_CHESS_SET, 1), choose(IDC_BOARD_TYPE, 0), pressOk()});
    EXPECT_EQ(shell.pieceStrip, strip);
    EXPECT_EQ(appState.boardBitmapId, 150);
    EXPECT_TRUE(squareShowsFrom(shown(), "d8", BLACK_QUEEN, 144, 150));

    // Cancel changes nothing.
    options({choose(IDC_CHESS_SET, 2), choose(IDC_BOARD_TYPE, 8), pressCancel()});
    EXPECT_EQ(appState.pieceBitmapId30, 144);
    EXPECT_EQ(appState.boardBitmapId, 150);
}

TEST_F(OptionsTest, TheSwitchesAndTheAnimationAreTheUsersToSet) {
    appState.autoAnswer = true;
    appState.highlightLastMove = false;
    appState.showThinking = true;
    appState.sound = true;
    appState.coach = false;
    appState.animationSpeed = 5; // no entry of the list
    std::vector<std::string> seen;
    options({[&seen](Window* page) {
                 for (const int id : {IDC_AUTO_ANSWER, IDC_HIGHLIGHT_LAST_MOVE, IDC_SHOW_THINKING,
                                      IDC_SOUND, IDC_COACH})
                     seen.push_back(isDlgButtonChecked(page, id) ? "on" : "off");
                 seen.push_back(getDlgItemText(page, IDC_ANIMATION));
                 for (const int id : {IDC_AUTO_ANSWER, IDC_HIGHLIGHT_LAST_MOVE, IDC_SHOW_THINKING,
                                      IDC_SOUND, IDC_COACH})
                     clickDlgItem(page, id);
             },
             pressOk()});
    EXPECT_EQ(seen, (std::vector<std::string>{"on", "off", "on", "on", "off", ""}));
    EXPECT_FALSE(appState.autoAnswer);
    EXPECT_TRUE(appState.highlightLastMove);
    EXPECT_FALSE(appState.showThinking);
    EXPECT_FALSE(appState.sound);
    EXPECT_TRUE(appState.coach);
    EXPECT_EQ(appState.animationSpeed, 5) << "no entry chosen keeps the speed";

    options({choose(IDC_ANIMATION, 0), pressOk()});
    EXPECT_EQ(appState.animationSpeed, 3);
    options({choose(IDC_ANIMATION, 3), pressOk()});
    EXPECT_EQ(appState.animationSpeed, 0);
}
