#pragma once
// CAppState: the one record of the running program. It owns the current
// position, the position being set up, the current game and every option and
// flag; it records the current node, the board's marks and the clocks.
//
// Only the interface thread touches the game, the positions and the board.
// The flags the engine thread reads as well are atomic.

#include <atomic>
#include <cstdint>
#include <memory>

#include "base/text.h"
#include "engine/coach.h"
#include "engine/engine_interface.h"
#include "engine/level_settings.h"
#include "game/game.h"
#include "platform/ui/geometry.h"
#include "rules/position.h"

class CSettings;
struct CMoveAnimation;

// No square: what selectedSquare and targetSquare hold when nothing is marked.
constexpr uint8_t NO_MARK = 255;

class CAppState {
public:
    CAppState();
    ~CAppState();
    CAppState(const CAppState&) = delete;
    CAppState& operator=(const CAppState&) = delete;

    // The operations on the current game.
    void newGame();
    void goToNode(CMoveNode* target);
    // Takes ownership of game; null does nothing.
    void setLoadedGame(CGame* game);
    // The tree part of playing a move: false (and nothing changed) when no node could be made.
    bool addMoveToTree(CMove move, int64_t thinkTime);
    void completeTags(bool withTime);

    std::unique_ptr<CPosition> position;
    std::unique_ptr<CPosition> setupPosition;
    std::unique_ptr<CGame> game;
    CMoveNode* currentNode = nullptr; // always a node of game
    CMove lastMove = NO_MOVE;
    CMove highlightedMove = NO_MOVE; // the move whose arrow is on screen
    std::unique_ptr<CSettings> settings; // the option store, made with the state
    uint8_t selectedSquare = NO_MARK;
    uint8_t targetSquare = NO_MARK;
    // Every rule of the main window's board, input and animation is made for this size.
    static constexpr int32_t squareSize = 30;
    bool flipped = false;
    platform::Rect clientRect{0, 0, 0, 0}; // refreshed by every paint
    platform::Rect statusRect{0, 0, 0, 0};
    EngineCallbacks callbacks{};
    LevelSettings level;
    uint64_t whiteUsedMs = 0;
    uint64_t blackUsedMs = 0;
    int32_t plyNumber = 1; // the half-move to be played next
    std::atomic<bool> autoMove{true};
    std::atomic<bool> hintRunning{false};
    uint8_t setupPiece = EMPTY;
    uint8_t promotionPiece = EMPTY;
    bool autoAnswer = true;
    bool highlightLastMove = false;
    bool showThinking = true;
    bool sound = true;
    bool coach = false;
    int16_t coachScore = NO_COACH_SCORE;
    CMoveNode* coachNode = nullptr;
    // coachNode's move and ply: a node cut from the tree may leave its address to a new one.
    CMove coachMove = NO_MOVE;
    int16_t coachPly = -1;
    std::atomic<bool> modalOpen{false};
    bool showLevelLine = true;
    int32_t availableKB = 0;
    int32_t configuredHashKB = 512;
    int32_t hashInUseKB = 0;
    int32_t animationSpeed = 2;   // 0 off, 1 slow, 2 medium, 3 fast
    uint64_t humanClockStart = 0; // 0: not running
    uint64_t userMoveTick = 0;
    bool dragging = false; // a piece is being dragged or animated
    uint8_t dragPiece = EMPTY;
    uint8_t dragFrom = 120;
    // Owned; non-null exactly while a move is animated. The engine thread waits for null.
    std::atomic<CMoveAnimation*> animation{nullptr};
    int32_t boardBitmapId = 138;
    int32_t pieceBitmapId24 = 135;
    int32_t pieceBitmapId30 = 116;
    CText engineName;
};

extern CAppState appState;
