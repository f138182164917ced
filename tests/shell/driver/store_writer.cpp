// Writes the autosave ring and the options over and over, for the crash-safety test to
// kill at a random moment; or reports what the files hold now.
//
//   shell_store_writer check   prints "games N", "newest M" (half-moves of the game read
//                              back, -1 when none reads) and "options F T S" (flipped,
//                              show thinking, animation speed)
//   shell_store_writer write   writes once, prints "ready", then writes until killed
//
// The root folder comes from TALLOWMERE_ROOT.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/app_state.h"
#include "app/stored_state.h"
#include "database/database.h"
#include "pgn/pgn_reader.h"
#include "platform/ui/application.h"
#include "rules/notation.h"
#include "settings/autosave.h"

using namespace platform;

namespace {

// Knights out and back, ten times: forty half-moves in every game written.
constexpr int GAME_PLIES = 40;

void buildGame() {
    appState.newGame();
    const char* round[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
    for (int ply = 0; ply < GAME_PLIES; ++ply) {
        const CMove move = parseSan(*appState.position, round[ply % 4]);
        appState.addMoveToTree(move, 100 + ply);
        appState.position->makeMove(move);
        ++appState.plyNumber;
    }
}

int check() {
    CPgnReader reader;
    CDatabase database(reader);
    const int games = database.open(autosaveFilePath().c_str()) ? int(database.index().size()) : 0;
    int newest = -1;
    if (std::unique_ptr<CGame> game =
            readFromAutosaveRing(*appState.settings, autosaveFilePath())) {
        newest = 0;
        for (const CMoveNode* node = game->root(); node && node->hasChildren(); ++newest)
            node = node->child(0);
    }
    loadOptions(appState);
    std::printf("games %d\nnewest %d\noptions %d %d %d\n", games, newest, int(appState.flipped),
                int(appState.showThinking), int(appState.animationSpeed));
    return 0;
}

[[noreturn]] void writeForever() {
    loadOptions(appState);
    appState.flipped = true;
    appState.showThinking = false;
    appState.animationSpeed = 3;
    buildGame();
    // Every write a game of its own, in every run: the ring keeps no second copy of its
    // newest game.
    int round = 0;
    const auto nextRound = [&round] {
        const std::string text = std::to_string(getpid()) + "." + std::to_string(++round);
        appState.game->setRound(CText(text.c_str()));
    };
    nextRound();
    autosaveGame();
    saveOptions(appState);
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        nextRound();
        autosaveGame();
        saveOptions(appState);
    }
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string error;
    initApplication(argc, argv, &error);
    const std::string mode = argc > 1 ? argv[1] : "";
    int code = 2;
    if (mode == "check") {
        code = check();
    } else if (mode == "write") {
        writeForever();
    } else {
        std::fputs("usage: shell_store_writer check|write\n", stderr);
    }
    shutdownApplication();
    return code;
}
