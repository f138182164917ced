#include "app/adjudication.h"

#include "app/app_state.h"
#include "app/show_message.h"
#include "game/result_texts.h"

namespace {

// Recorded before the box opens: commands already queued may run while it is open.
void recordEnd(const CResultTexts& texts) {
    CMoveNode* node = appState.currentNode;
    if (texts.comment[0] != '\0') node->setComment(CText(texts.comment));
    if (node == appState.game->mainLineEnd()) appState.game->setResult(CText(texts.result));
    showMessage(texts.message);
}

bool hasBareKing(const CPosition& position, int side) {
    for (Square square = 0; square < BOARD_SIZE; ++square) {
        if ((square & 0x88) != 0) continue;
        const Piece piece = position.at(square);
        if (piece == EMPTY || kindOf(piece) == KING) continue;
        if ((side == WHITE) == isWhitePiece(piece)) return false;
    }
    return true;
}

// By the side whose time ran out.
constexpr CResultTexts TIME_LOSSES[2] = {
    {"White lost on time", "White lost on time", "0-1"},
    {"Black lost on time", "Black lost on time", "1-0"},
};
constexpr CResultTexts TIME_DRAWS[2] = {
    {"White\xB4s time is up, draw: Black has only the king",
     "White out of time against a bare king, draw", "1/2-1/2"},
    {"Black\xB4s time is up, draw: White has only the king",
     "Black out of time against a bare king, draw", "1/2-1/2"},
};

} // namespace

CAdjudication adjudicate() {
    int reason = 0;
    if (!appState.position->gameStatus(reason)) return {false, 0};
    CResultTexts texts{};
    if (!resultTexts(reason, appState.position->sideToMove(), texts)) return {false, 0};
    recordEnd(texts);
    return {true, reason};
}

void adjudicateTimeLoss(int loser) {
    const int winner = loser == WHITE ? BLACK : WHITE;
    const bool draw = hasBareKing(*appState.position, winner);
    recordEnd(draw ? TIME_DRAWS[loser] : TIME_LOSSES[loser]);
}
