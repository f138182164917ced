#pragma once
// The names under which the program keeps its options and state between runs, and the
// value each has while nothing is stored. An option's key is the name of the control or
// command that changes it. The playing level's keys live with the level.

#include <cstdint>

// The program's key under HKEY_CURRENT_USER.
constexpr char SETTINGS_KEY[] = "software\\Tallowmere\\TallowmereChess\\Settings";

// The options kept as integers (the flags as 1 or 0), in the order they are written at exit.
enum class IntOption {
    autoAnswer,        // the engine answers the user's moves ("Against Pocket PC")
    highlightLastMove, // the last move is marked on the board
    animation,         // move animation: 0 off, 1 slow, 2 medium, 3 fast
    showThinking,      // the engine's search is shown in the status panel
    sound,             // move sounds
    coach,             // the coach questions weak moves
    flipBoard,         // the board is shown from Black's side
    boardTexture,      // 0 to 8; any other number shows the first texture
    pieceSet,          // 0 to 2; any other number shows the first set
    count
};

struct IntOptionKey {
    IntOption option;
    const char* key;
    int32_t defaultValue;
};

constexpr IntOptionKey INT_OPTION_KEYS[] = {
    {IntOption::autoAnswer, "IDC_CBAUTOANSWER", 1},
    {IntOption::highlightLastMove, "IDC_CBHIGHLIGHTLASTMOVE", 0},
    {IntOption::animation, "IDC_CBANIMATION", 2},
    {IntOption::showThinking, "IDC_CBMAINLINE", 1},
    {IntOption::sound, "IDC_CBSOUND", 1},
    {IntOption::coach, "IDC_CBCOACH", 0},
    {IntOption::flipBoard, "IDM_FLIP_BOARD", 0},
    {IntOption::boardTexture, "IDC_CBSQUARES", 0},
    {IntOption::pieceSet, "IDC_CBPIECESETS", 0},
};

constexpr bool intOptionKeysInOrder() {
    int index = 0;
    for (const IntOptionKey& entry : INT_OPTION_KEYS) {
        if (int(entry.option) != index++) {
            return false;
        }
    }
    return index == int(IntOption::count);
}
static_assert(intOptionKeysInOrder(), "one row per option, in the order of IntOption");

constexpr const IntOptionKey& intOptionKey(IntOption option) {
    return INT_OPTION_KEYS[int(option)];
}

// The name of the loaded engine; empty while none was ever loaded.
constexpr char ENGINE_NAME_KEY[] = "IDC_CBENGINE";

// Flags written with 1 at start-up when missing. The first three choose what the
// Moves dialog shows; nothing reads the other three.
constexpr const char* MOVES_DIALOG_KEYS[] = {"IDC_CBGAMETAGS", "IDC_CBGAMECOMMENTS",
                                             "IDC_CBGAMEVARIATIONS"};
constexpr const char* UNREAD_DISPLAY_KEYS[] = {"IDC_CBTAGS", "IDC_CBCOMMENTS", "IDC_CBVARIATIONS"};
constexpr int32_t DISPLAY_KEY_DEFAULT = 1;

// The opening book handed to the engine, and the book used while none is stored.
constexpr char BOOK_KEY[] = "Bookfilename";
constexpr char DEFAULT_BOOK_FILE[] = "\\My documents\\zorbook.gbk";

// The autosave ring: the last games played, and the slot written last.
constexpr char AUTOSAVE_FILE[] = "\\My Documents\\zorautosave.pgn";
constexpr char AUTOSAVE_SLOT_KEY[] = "CurrentAutosaveGame";
constexpr int32_t AUTOSAVE_GAMES = 20;
