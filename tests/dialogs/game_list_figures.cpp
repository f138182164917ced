// Figures of the game list on a large file, printed, never checked: run by hand with
//   TALLOWMERE_INDEX_PGN=FILE test_dialogs --gtest_also_run_disabled_tests
//       --gtest_filter='GameListFigures.*'
// (one command line; a release build for figures worth giving). They say how soon after
// Load game the list shows its first rows, how long the whole file takes, and what the
// program holds for each game once it is indexed.
#include "app/command_ids.h"
#include "app/dialog_game_list.h"
#include "dialog_fixture.h"
#include "platform/kernel/clock.h"
#include "platform/ui/dialog.h"
#include "platform/ui/listview.h"

#include <QApplication>
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace platform;

namespace {

using Clock = std::chrono::steady_clock;

long residentKB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 6, "VmRSS:") == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void serveUntil(const std::function<bool()>& condition) {
    while (!condition()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        sleepMs(1);
    }
}

class GameListFigures : public DialogTest {};

} // namespace

TEST_F(GameListFigures, DISABLED_FirstRowsAndMemoryOfALargeFile) {
    const char* path = std::getenv("TALLOWMERE_INDEX_PGN");
    if (!path) GTEST_SKIP() << "TALLOWMERE_INDEX_PGN names no file";
    fileAnswer = path;
    const long before = residentKB();
    double shown = 0, firstRows = 0, indexed = 0;
    int firstCount = 0, games = 0;
    long after = 0;
    const Clock::time_point start = Clock::now();
    commandWith(IDM_LOAD_GAME,
                {[&](Window* dialog) {
                     shown = msSince(start);
                     serveUntil([dialog] { return listViewRowCount(dialog, IDC_LIST_GAMES) > 0; });
                     firstRows = msSince(start);
                     firstCount = listViewRowCount(dialog, IDC_LIST_GAMES);
                     serveUntil([dialog] {
                         const std::string count = getDlgItemText(dialog, IDC_LIST_COUNT);
                         return count.find("so far") == std::string::npos;
                     });
                     indexed = msSince(start);
                     games = listViewRowCount(dialog, IDC_LIST_GAMES);
                     after = residentKB();
                 },
                 pressCancel()});
    std::printf("list shown %.0f ms after Load game, first %d rows at %.0f ms, all %d games "
                "at %.0f ms; resident %ld kB before, %ld kB indexed: %.0f bytes per game\n",
                shown, firstCount, firstRows, games, indexed, before, after,
                games > 0 ? double(after - before) * 1024.0 / games : 0.0);
}
