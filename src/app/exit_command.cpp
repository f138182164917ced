#include "app/app_state.h"
#include "app/commands.h"
#include "app/engine_link.h"
#include "app/stored_state.h"
#include "platform/kernel/clock.h"
#include "platform/ui/dc.h"
#include "platform/ui/messages.h"
#include "platform/ui/owner.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

// Set while the Exit command closes the window, so that WM_CLOSE then closes it.
bool exiting = false;

const char PROGRAM_NAME[] = "Tallowmere Chess";

constexpr int CLOSING_FRAMES = 20;
constexpr uint32_t CLOSING_FRAME_MS = 50;

// The board closes in white rectangles from the middle outwards. The game is saved
// while the last frames show, so that the user's wait covers the write.
void closingAnimation(Window* window, Dc* dc) {
    const Rect client = getClientRect(window);
    const int stepX = (client.right - client.left) / (2 * CLOSING_FRAMES);
    const int stepY = (client.bottom - client.top) / (2 * CLOSING_FRAMES);
    const Pen oldPen = selectPen(dc, BLACK_PEN);
    const Brush oldBrush = selectBrush(dc, WHITE_BRUSH);
    for (int n = CLOSING_FRAMES - 1; n >= 0; --n) {
        rectangle(dc, Rect{client.left + n * stepX, client.top + n * stepY,
                           client.right - n * stepX, client.bottom - n * stepY});
        showNow(window);
        sleepMs(CLOSING_FRAME_MS);
        if (n == 1) autosaveGame();
    }
    selectPen(dc, oldPen);
    selectBrush(dc, oldBrush);
}

// Exit while the engine thinks: the game saved names the engine as the side to move,
// so that the next start lets it think again (and the user is not named as the side the
// engine played). Names already given stay.
void nameEngineToMove() {
    CGame& game = *appState.game;
    if (!game.white().isEmpty() || !game.black().isEmpty()) return;
    const CText owner(deviceOwnerName().c_str());
    const CText program(PROGRAM_NAME);
    const bool engineIsWhite = appState.position->sideToMove() == WHITE;
    game.setWhite(engineIsWhite ? program : owner);
    game.setBlack(engineIsWhite ? owner : program);
}

} // namespace

int exitCommand(Window* window, int, intptr_t, unsigned) {
    if (exiting) return 0;
    exiting = true;
    if (engineBusy()) nameEngineToMove();
    appState.autoMove = false;
    stopSearch();
    if (Dc* dc = getDC(window)) {
        closingAnimation(window, dc);
        releaseDC(window, dc);
        endEngineThread();
    } else {
        endEngineThread();
        autosaveGame();
    }
    sendMessage(window, WM_CLOSE, 0, 0);
    exiting = false;
    return 0;
}

bool exitUnderway() {
    return exiting;
}
