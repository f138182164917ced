// The operations on the current game: a new game, going to a node, taking over a
// loaded game, playing a move into the tree and completing the tags.
#include <cstdio>
#include <new>
#include <vector>

#include "app/app_state.h"
#include "app/buttons.h"
#include "app/engine_link.h"
#include "engine/think_time.h"
#include "pgn/pgn_game.h"
#include "platform/kernel/clock.h"
#include "platform/ui/owner.h"
#include "rules/notation.h"

namespace {

const char PROGRAM_NAME[] = "Tallowmere Chess";

bool isBlackMove(CMove move) {
    return isBlackPiece(move.piece);
}

} // namespace

void CAppState::newGame() {
    position->reset();
    setupPosition->reset();
    game.reset();
    game = std::make_unique<CPgnGame>();
    game->setRoot(new CMoveNode(NO_MOVE, CText("root"), -1, CText(NEW_GAME_ROOT_COMMENT), 0, 0));
    currentNode = game->root();

    selectedSquare = NO_MARK;
    targetSquare = NO_MARK;
    lastMove = NO_MOVE;
    highlightedMove = NO_MOVE;
    whiteUsedMs = 0;
    blackUsedMs = 0;
    plyNumber = 1;
    hintRunning = false;
    modalOpen = false;
    autoMove = true;
    startUserClock(humanClockStart, platform::tickCount());
    userMoveTick = 0;
    coachScore = NO_COACH_SCORE;
    coachNode = nullptr;
    showLevelLine = true;
    setupPiece = EMPTY;
    promotionPiece = EMPTY;
}

void CAppState::goToNode(CMoveNode* target) {
    whiteUsedMs = 0;
    blackUsedMs = 0;
    std::vector<CMove> path;
    for (const CMoveNode* node = target; node && node->parent; node = node->parent) {
        path.push_back(node->move);
        const uint64_t time = node->thinkTime > 0 ? uint64_t(node->thinkTime) : 0;
        (isBlackMove(node->move) ? blackUsedMs : whiteUsedMs) += time;
    }
    for (const CMoveNode* node = currentNode; node && node->parent; node = node->parent)
        position->takeBack();
    plyNumber = 1;
    for (auto move = path.rbegin(); move != path.rend(); ++move) {
        position->makeMove(*move);
        ++plyNumber;
    }

    currentNode = target;
    updateNavigationButtons();
    lastMove = target->move;
    selectedSquare = NO_MARK;
    targetSquare = NO_MARK;
    highlightedMove = NO_MOVE;
    coachScore = NO_COACH_SCORE;
    if (engineBusy()) {
        autoMove = false;
        stopSearch();
        clearEngineReport();
    }
    startUserClock(humanClockStart, platform::tickCount());
}

void CAppState::setLoadedGame(CGame* loaded) {
    if (!loaded) return;
    if (engineBusy()) {
        autoMove = false;
        stopSearch();
        clearEngineReport();
    }
    game.reset(loaded);
    const CText fen = game->tag("FEN");
    if (!game->root()) {
        // Every reader gives its games a root; one without would leave no node to stand on.
        game->setRoot(new CMoveNode(NO_MOVE, CText("root"), -1, CText(""), 0, 0));
    }
    if (!fen.isEmpty()) {
        position->setFen(fen.c_str());
        currentNode = game->root();
    } else {
        position->reset();
        currentNode = game->mainLineEnd();
    }
    lastMove = currentNode->move;
    showLevelLine = true;
    clearEngineReport();
    goToNode(currentNode);
}

bool CAppState::addMoveToTree(CMove move, int64_t thinkTime) {
    for (uint32_t i = 0; i < currentNode->childCount(); ++i) {
        CMoveNode* child = currentNode->child(i);
        if (child->move == move) {
            currentNode->promoteChild(child);
            currentNode = child;
            lastMove = move;
            return true;
        }
    }
    const CText text = sanText(*position, move, true);
    auto* node = new (std::nothrow)
        CMoveNode(move, text, int16_t(currentNode->ply + 1), CText(""), 0, thinkTime);
    if (!node) return false;
    // Appended before the old main continuation goes, so that a node that cannot be
    // added leaves the tree as it was.
    if (!currentNode->addChild(node)) {
        delete node;
        return false;
    }
    if (currentNode->childCount() > 1) {
        currentNode->deleteChild(currentNode->child(0));
        currentNode->promoteChild(node);
    }
    currentNode = node;
    lastMove = move;
    return true;
}

void CAppState::completeTags(bool withTime) {
    if (!game) return;
    const CText owner = platform::deviceOwnerName().c_str();
    int reason = 0;
    position->gameStatus(reason);
    if (game->white().isEmpty() && game->black().isEmpty() && reason != STATUS_CHECKMATE &&
        reason != STATUS_STALEMATE) {
        const bool userIsWhite = position->sideToMove() == WHITE;
        game->setWhite(userIsWhite ? owner : CText(PROGRAM_NAME));
        game->setBlack(userIsWhite ? CText(PROGRAM_NAME) : owner);
    }
    const platform::DateTime now = platform::localDateTime();
    char text[32];
    if (game->date().isEmpty()) {
        std::snprintf(text, sizeof text, "%04d.%02d.%02d", now.year, now.month, now.day);
        game->setDate(CText(text));
    }
    if (withTime) {
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.hour, now.minute, now.second);
        game->setTag("Time", CText(text));
    }
    const CText& moveText = currentNode->moveText;
    if (game->result().isEmpty() && !moveText.isEmpty() && moveText[moveText.length() - 1] == '#') {
        game->setResult(CText(position->sideToMove() == WHITE ? "0-1" : "1-0"));
    }
}
