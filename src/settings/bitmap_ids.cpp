#include "settings/bitmap_ids.h"

const BoardTexture& boardTextureFor(int32_t stored) {
    return stored >= 0 && stored < BOARD_TEXTURE_COUNT ? BOARD_TEXTURES[stored] : BOARD_TEXTURES[0];
}

const PieceSet& pieceSetFor(int32_t stored) {
    return stored >= 0 && stored < PIECE_SET_COUNT ? PIECE_SETS[stored] : PIECE_SETS[0];
}

int32_t storedBoardTexture(int32_t boardBitmapId) {
    for (int32_t stored = 0; stored < BOARD_TEXTURE_COUNT; ++stored) {
        if (BOARD_TEXTURES[stored].bitmapId == boardBitmapId) return stored;
    }
    return 0;
}

int32_t storedPieceSet(int32_t pieceBitmapId30) {
    for (int32_t stored = 0; stored < PIECE_SET_COUNT; ++stored) {
        if (PIECE_SETS[stored].bitmapId30 == pieceBitmapId30) return stored;
    }
    return 0;
}
