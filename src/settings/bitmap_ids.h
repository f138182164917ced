#pragma once
// The board textures and piece sets: the number stored under "IDC_CBSQUARES" and
// "IDC_CBPIECESETS" chooses the bitmaps; the program keeps the bitmap numbers and maps
// them back to the stored number when it saves.

#include <cstdint>

struct BoardTexture {
    int32_t bitmapId;
    const char* name; // as the Options dialog lists it
};

// Indexed by the stored number.
constexpr BoardTexture BOARD_TEXTURES[] = {
    {138, "Blue Marble"}, {151, "Oak"},          {152, "Mahogany"},
    {141, "Red Marble"},  {139, "Green Marble"}, {150, "Ash"},
    {140, "Grey Marble"}, {148, "Slate"},        {149, "Tiled"},
};
constexpr int32_t BOARD_TEXTURE_COUNT = int32_t(sizeof BOARD_TEXTURES / sizeof BOARD_TEXTURES[0]);
static_assert(BOARD_TEXTURE_COUNT == 9, "nine board textures");

struct PieceSet {
    int32_t bitmapId24; // the strip for 24-pixel squares (the setup dialog)
    int32_t bitmapId30; // the strip for the main board's 30-pixel squares
    const char* name;
};

// Indexed by the stored number.
constexpr PieceSet PIECE_SETS[] = {
    {135, 116, "Deluxe"},
    {142, 144, "Classic"},
    {145, 146, "Modern"},
};
constexpr int32_t PIECE_SET_COUNT = int32_t(sizeof PIECE_SETS / sizeof PIECE_SETS[0]);
static_assert(PIECE_SET_COUNT == 3, "three piece sets");

// An unknown stored number gives the first texture or set.
const BoardTexture& boardTextureFor(int32_t stored);
const PieceSet& pieceSetFor(int32_t stored);
// The number to store for a bitmap; a bitmap in no table is stored as 0.
int32_t storedBoardTexture(int32_t boardBitmapId);
// Known by its 30-pixel strip, the one the board is drawn with.
int32_t storedPieceSet(int32_t pieceBitmapId30);
