#pragma once
// The coach's judgement of the user's last move, from the engine's scores: the score of
// its search before the user moved and of the one that answers the move, both for the
// engine's side.

#include <cstdint>

// What the coach keeps while it has no score to compare against.
constexpr int16_t NO_COACH_SCORE = -32000;

// The engine must gain more than this many centipawns for the move to look like a blunder.
constexpr int32_t COACH_SCORE_JUMP = 230;
// Beyond this either way the game is decided, and the coach keeps quiet.
constexpr int32_t COACH_DECIDED_SCORE = 642;

struct CoachQuestion {
    bool coachOn = false;
    int16_t storedScore = NO_COACH_SCORE; // of the search that gave the engine's last move
    bool anchored = false; // the engine's last move is known, and one move was played since
    int32_t score = 0;     // of the search that has just ended
    int32_t moveCount = 0; // root moves of that search
};

// True when the user is to be asked whether to take the move back.
bool coachWarns(const CoachQuestion& question);

// What the coach keeps of the search whose move has just been played: nothing when the
// engine had no choice, since its score then says nothing about the user's moves.
int16_t coachScoreToKeep(int32_t score, int32_t moveCount);
