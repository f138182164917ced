// How long a move glides, which sound it makes, which image shows a piece.
#include "board/animation.h"
#include "board/board_drawing.h"
#include "board/move_sound.h"

#include <gtest/gtest.h>

TEST(AnimationPace, FramesAndPeriodsBySpeed) {
    struct Case {
        int dx, dy, speed;
        bool slow;
        int steps;
        uint32_t period;
    };
    const Case cases[] = {
        // One square: 30 x 32 / 64 = 15 base steps.
        {0, -30, 2, false, 22, 4},
        {0, -30, 1, false, 30, 8},
        {0, -30, 3, false, 10, 5},
        {0, -30, 7, false, 15, 20},
        {0, -30, 0, true, 30, 8}, // slow wins even with animation off
        {30, 0, 3, true, 30, 8},
        // A knight: length 67, table index 2, 67 x 28 / 64 = 29 base steps.
        {30, 60, 9, false, 29, 20},
        {-30, 60, 2, false, 43, 4},
        // Two squares: 60 x 28 / 64 = 26; the whole diagonal: 296 x 13 / 64 = 60.
        {0, 60, 9, false, 26, 20},
        {210, -210, 9, false, 60, 20},
        {210, -210, 3, false, 40, 5},
    };
    for (const Case& c : cases) {
        const CAnimationPace pace = animationPace(c.dx, c.dy, c.speed, c.slow);
        EXPECT_EQ(pace.steps, c.steps) << c.dx << "," << c.dy << " speed " << c.speed;
        EXPECT_EQ(pace.periodMs, c.period) << c.dx << "," << c.dy << " speed " << c.speed;
    }
}

TEST(MoveSound, FileByMoverAndCapture) {
    struct Case {
        CMove move;
        int sound;
    };
    const Case cases[] = {
        {CMove(0x41, WHITE_PAWN, 0x43, EMPTY), 1},
        {CMove(0x60, WHITE_KNIGHT, 0x52, EMPTY), 1},
        {CMove(0x57, BLACK_BISHOP, 0x24, EMPTY), 1},
        {CMove(0x00, WHITE_ROOK, 0x03, EMPTY), 2},
        {CMove(0x30, WHITE_QUEEN, 0x74, EMPTY), 2},
        {CMove(0x40, WHITE_KING, 0x60, FLAG_CASTLING | EMPTY), 2},
        {CMove(0x06, WHITE_QUEEN, 0x07, FLAG_PROMOTION | EMPTY), 2},
        {CMove(0x06, WHITE_KNIGHT, 0x07, FLAG_PROMOTION | EMPTY), 1},
        // Captures: minor pieces and pawns taken, rook takes rook, the rest.
        {CMove(0x43, WHITE_PAWN, 0x34, FLAG_CAPTURE | BLACK_PAWN), 3},
        {CMove(0x52, WHITE_KNIGHT, 0x64, FLAG_CAPTURE | BLACK_BISHOP), 3},
        {CMove(0x43, WHITE_PAWN, 0x34, FLAG_CAPTURE | BLACK_QUEEN), 4},
        {CMove(0x00, WHITE_ROOK, 0x07, FLAG_CAPTURE | BLACK_ROOK), 3},
        {CMove(0x07, BLACK_ROOK, 0x00, FLAG_CAPTURE | WHITE_ROOK), 3},
        {CMove(0x52, WHITE_KNIGHT, 0x71, FLAG_CAPTURE | BLACK_ROOK), 4},
        {CMove(0x44, WHITE_PAWN, 0x35, FLAG_CAPTURE | FLAG_EN_PASSANT | BLACK_PAWN), 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(moveSoundNumber(c.move), c.sound) << std::hex << c.move.word();
    }
}

TEST(PieceStrip, ImageOfEveryCode) {
    const int expected[16] = {5, 2, 1, 3, 0, 4, -1, -1, 11, 8, 7, 9, 6, 10, -1, -1};
    for (int code = 0; code < 16; ++code) {
        EXPECT_EQ(stripIndex(Piece(code)), expected[code]) << code;
    }
    EXPECT_EQ(stripIndex(255), -1);
}
