#pragma once
// What the program says, comments and records when a game has ended: the
// message shown, the comment put on the move that ended the game, and the
// value of the "Result" tag, by the reason the game status gives.

struct CResultTexts {
    const char* message;
    const char* comment;
    const char* result;
};

// Texts for reasons 1 (checkmate) to 5 (insufficient material); for a
// checkmate, sideToMove (0 white, 1 black) is the side that is mated. False,
// and out untouched, for reason 0 and every unknown reason.
bool resultTexts(int reason, int sideToMove, CResultTexts& out);
