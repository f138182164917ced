#include "board/move_sound.h"

#include <string>

#include "app/app_state.h"
#include "app/shell.h"
#include "platform/ui/sound.h"

using namespace platform;

namespace {

bool isMinorOrPawn(Piece piece) {
    const int kind = kindOf(piece);
    return piece <= BLACK_QUEEN && (kind == PAWN || kind == KNIGHT || kind == BISHOP);
}

} // namespace

int moveSoundNumber(CMove move) {
    if (move.isCapture()) {
        const Piece captured = move.captured();
        if (isMinorOrPawn(captured)) return 3;
        if ((captured == WHITE_ROOK && move.piece == BLACK_ROOK) ||
            (captured == BLACK_ROOK && move.piece == WHITE_ROOK))
            return 3;
        return 4;
    }
    return isMinorOrPawn(move.piece) ? 1 : 2;
}

void playMoveSound(CMove move) {
    if (!appState.sound) return;
    if (!onBoard(move.from)) {
        playSound("Default", SND_ALIAS | SND_ASYNC);
        return;
    }
    const std::string file = std::string(shell.exeDirectory.c_str()) + "move" +
                             std::to_string(moveSoundNumber(move)) + ".wav";
    playSound(file.c_str(), SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}
