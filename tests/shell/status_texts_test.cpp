// What the status panel says, case by case: the line choice, the clocks, the best line cut
// at a word.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/status_texts.h"
#include "engine/clocks.h"
#include "engine/engine_report.h"

namespace {

std::string trimmed(const CText& text) {
    std::string line = text.c_str();
    const size_t end = line.find_last_not_of(' ');
    return end == std::string::npos ? line.substr(0, 1) : line.substr(0, end + 1);
}

EngineReport report(bool busy, int depth, const char* current, int index, int count, const char* pv,
                    int score) {
    EngineReport report;
    report.busy = busy;
    report.depth = depth;
    report.moveIndex = index;
    report.moveCount = count;
    report.score = score;
    std::strncpy(report.currentMoveSan, current, sizeof report.currentMoveSan - 1);
    std::strncpy(report.pvSan, pv, sizeof report.pvSan - 1);
    return report;
}

StatusView view(bool thinking, bool levelLine, bool whiteToMove, int ply, const char* san,
                const char* coordinates) {
    StatusView view;
    view.showThinking = thinking;
    view.showLevelLine = levelLine;
    view.whiteToMove = whiteToMove;
    view.plyNumber = ply;
    view.hasLastMove = san != nullptr;
    view.lastMoveSan = san ? san : "";
    view.lastMoveCoordinates = coordinates ? coordinates : "";
    view.levelLine = "Level Novice";
    return view;
}

} // namespace

TEST(StatusTexts, TheFirstCaseThatAppliesChoosesTheLines) {
    const char* PV = "12.Nf3 Nf6 13.e4 e5 14.d4";
    const EngineReport idle = report(false, 0, "", 0, 0, "", 0);
    struct Case {
        const char* what;
        StatusView view;
        EngineReport report;
        const char* first;
        const char* second; // trailing blanks left out
    } cases[] = {
        {"searching for White", view(true, false, true, 23, "Be2", "f1e2"),
         report(true, 5, "Nf3", 7, 31, PV, 35), "Depth=5   12. Nf3(7/31)",
         "Score=+0.35, PV=12.Nf3 Nf6 13.e4 e5"},
        {"searching for Black", view(true, false, false, 24, "Nf3", "g1f3"),
         report(true, 9, "Nf6", 1, 20, "12...Nf6", -120), "Depth=9   12... Nf6(1/20)",
         "Score=-1.20, PV=12...Nf6"},
        {"a best line without a blank", view(true, false, true, 3, "e5", "e7e5"),
         report(true, 2, "Nf3", 1, 2, "123456789012345678901", 0), "Depth=2   2. Nf3(1/2)",
         "Score=+0.00, PV="},
        {"thinking shown, White moved", view(true, false, false, 2, "e4", "e2e4"), idle,
         "Last move 1. e4", " "},
        {"thinking shown, Black moved", view(true, false, true, 3, "e5", "e7e5"), idle,
         "Last move 1... e5", " "},
        {"thinking shown, the search over", view(true, false, false, 2, "e4", "e2e4"),
         report(false, 4, "", 0, 0, "1...e5", 10), "Last move 1. e4", "Score=+0.10, PV=1...e5"},
        {"thinking shown, no move yet", view(true, false, true, 1, nullptr, nullptr), idle, " ",
         " "},
        {"thinking not shown", view(false, false, true, 23, "Be2", "f1e2"),
         report(true, 5, "Nf3", 7, 31, PV, 35), "Thinking...", " "},
        {"the level line while searching", view(true, true, true, 1, nullptr, nullptr),
         report(true, 5, "Nf3", 7, 31, PV, 35), "Thinking...", " "},
        {"the level line", view(true, true, true, 1, nullptr, nullptr), idle, "Level Novice", " "},
        {"the last move in coordinates", view(false, false, false, 2, "e4", "e2e4"), idle,
         "Last move 1. e2e4", " "},
        {"a promotion in coordinates", view(false, false, true, 41, "e8=Q", "e7e8q"), idle,
         "Last move 20... e7e8q", " "},
        {"no last move", view(false, false, true, 1, nullptr, nullptr), idle, " ", " "},
    };
    for (const Case& c : cases) {
        const StatusLines lines = statusLines(c.view, c.report);
        EXPECT_EQ(std::string(lines.first.c_str()), c.first) << c.what;
        EXPECT_EQ(trimmed(lines.second), c.second) << c.what;
    }
}

TEST(StatusTexts, PlayersAndResultNeedBothNames) {
    struct Case {
        const char* white;
        const char* black;
        const char* result;
        const char* second;
    } cases[] = {
        {"Ann", "Bob", "*", "Ann - Bob, *"},
        {"Ann", "Bob", "1-0", "Ann - Bob, 1-0"},
        {"Ann", "", "*", " "},
        {"", "Bob", "*", " "},
        {"", "", "", " "},
    };
    for (const Case& c : cases) {
        StatusView status = view(false, true, true, 1, nullptr, nullptr);
        status.white = c.white;
        status.black = c.black;
        status.result = c.result;
        const StatusLines lines = statusLines(status, EngineReport{});
        EXPECT_EQ(std::string(lines.second.c_str()), c.second) << c.white << "/" << c.black;
    }
}

TEST(StatusTexts, ClocksShowTheirSeparatorsInTheBoardsOrder) {
    const ClockReading fiveMinutes{5, 0, false, true};
    const ClockReading almostFive{4, 59, false, true};
    const ClockReading hourColon{1, 5, true, true};
    const ClockReading hourBlank{1, 5, true, false};
    const ClockReading twoHoursBlank{2, 10, true, false};
    struct Case {
        ClockReading white;
        ClockReading black;
        bool flipped;
        const char* text;
    } cases[] = {
        {fiveMinutes, almostFive, false, "05:00 04:59"},
        {fiveMinutes, almostFive, true, "04:59 05:00"},
        {hourColon, almostFive, false, "01:05 04:59"},
        {hourBlank, almostFive, false, "01 05 04:59"},
        {hourBlank, almostFive, true, "04:59 01 05"},
        {hourColon, twoHoursBlank, true, "02 10 01:05"},
        // A minutes-and-seconds reading keeps its colon whatever its flag says.
        {ClockReading{0, 7, false, false}, fiveMinutes, false, "00:07 05:00"},
    };
    for (const Case& c : cases) {
        ClockReadings readings{c.white, c.black};
        EXPECT_EQ(std::string(clockText(readings, c.flipped).c_str()), c.text);
    }
}

TEST(StatusTexts, TheBestLineIsCutAtAWordAndFilledWithBlanks) {
    struct Case {
        const char* source;
        uint32_t maxLength;
        uint32_t width;
        const char* kept;
    } cases[] = {
        {"12.Nf3 Nf6 13.e4 e5 14.d4", 20, 99, "12.Nf3 Nf6 13.e4 e5"},
        {"123456789012345678901", 20, 99, ""},
        {"12345678901234567890", 20, 99, "12345678901234567890"},
        {"1.e4 e5", 20, 99, "1.e4 e5"},
        {"", 20, 99, ""},
        {"1.e4 e5 2.Nf3 Nc6", 20, 4, "1.e4"},
        {" 1234567890123456789012", 20, 30, ""},
        {"1.e4", 0, 3, ""},
    };
    for (const Case& c : cases) {
        const CText cut = cutAtWord(c.source, c.maxLength, c.width);
        ASSERT_EQ(cut.length(), c.width) << c.source;
        std::string expected = c.kept;
        expected.resize(c.width, ' ');
        EXPECT_EQ(std::string(cut.c_str()), expected) << c.source;
    }
}

TEST(StatusTexts, ANoteAboutTheEngineTakesTheFirstLine) {
    struct Case {
        EngineNote note;
        bool busy;
        const char* first;
        const char* second;
    } cases[] = {
        {EngineNote::searchingForHint, true, "Searching for hint move...", " "},
        {EngineNote::noAnswer, false, "The engine does not answer", "Score=+0.35, PV=1.e4"},
        {EngineNote::noMove, false, "The engine found no move", "Score=+0.35, PV=1.e4"},
        {EngineNote::none, false, "Last move 1. e4", "Score=+0.35, PV=1.e4"},
    };
    for (const Case& c : cases) {
        StatusView shown = view(true, false, false, 2, "e4", "e2e4");
        shown.note = c.note;
        const StatusLines lines = statusLines(shown, report(c.busy, 3, "e4", 1, 20, "1.e4", 35));
        EXPECT_EQ(trimmed(lines.first), c.first) << c.first;
        EXPECT_EQ(trimmed(lines.second), c.second) << c.first << ": the hint's line stays hidden";
    }
}

TEST(StatusTexts, AUciEngineIsNamedWhereTheLevelOrThinkingIsShown) {
    struct Case {
        bool thinking, levelLine, busy;
        const char* otherEngine;
        const char* first;
    } cases[] = {
        {false, true, false, "Stockfish 15.1", "Level Novice, Stockfish 15.1"},
        {false, false, true, "Stockfish 15.1", "Stockfish 15.1 thinking..."},
        {true, false, true, "Stockfish 15.1", "Depth=3   1... e4(1/20)"},
        {false, true, false, "", "Level Novice"},
        {false, false, true, "", "Thinking..."},
    };
    for (const Case& c : cases) {
        StatusView shown = view(c.thinking, c.levelLine, false, 2, "e4", "e2e4");
        shown.otherEngine = c.otherEngine;
        const StatusLines lines = statusLines(shown, report(c.busy, 3, "e4", 1, 20, "1.e4", 35));
        EXPECT_EQ(trimmed(lines.first), c.first) << c.first;
    }
}
