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

TEST_F(OptionsTest, TheLevelBecomesAPresetAndStaysWithoutOne) {
    struct Case {
        int32_t fixedPlies, fixedSeconds;
        int chosenRow; // -1: none chosen
        const char* shown;
        int32_t mode, plies, seconds; // afterwards
    };
    const Case cases[] = {
        // A tournament level whose fixed values are a preset shows it and turns to it.
        {99, 5, -1, "5sec/move", LEVEL_FIXED, 99, 5},
        {7, 3, -1, "", LEVEL_TOURNAMENT, 7, 3},
        {7, 3, 0, "", LEVEL_FIXED, 1, NO_TIME_LIMIT},
        {1, NO_TIME_LIMIT, 10, "Novice", LEVEL_FIXED, 99, NO_TIME_LIMIT},
    };
    for (const Case& c : cases) {
        appState.level = LevelSettings();
        appState.level.fixedPlies = c.fixedPlies;
        appState.level.fixedSeconds = c.fixedSeconds;
        appState.level.setTournament(40, 300, 40, 300, 40, 300);
        std::string shown = "?";
        int rows = 0;
        std::vector<DialogScript::Action> actions = {[&](Window* page) {
            shown = getDlgItemText(page, IDC_LEVEL);
            rows = listCount(page, IDC_LEVEL);
        }};
        if (c.chosenRow >= 0) actions.push_back(choose(IDC_LEVEL, c.chosenRow));
        actions.push_back(pressOk());
        options(actions);
        EXPECT_EQ(rows, 11);
        EXPECT_EQ(shown, c.shown) << c.fixedPlies << "/" << c.fixedSeconds;
        EXPECT_EQ(appState.level.mode, c.mode) << c.fixedPlies << "/" << c.fixedSeconds;
        EXPECT_EQ(appState.level.fixedPlies, c.plies);
        EXPECT_EQ(appState.level.fixedSeconds, c.seconds);
    }
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
