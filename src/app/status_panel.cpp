#include "app/status_panel.h"

#include "app/app_state.h"
#include "app/engine_choice.h"
#include "app/engine_link.h"
#include "app/status_texts.h"
#include "engine/clocks.h"
#include "engine/engine_report.h"
#include "engine/level_text.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dc.h"
#include "rules/move.h"
#include "rules/notation.h"

using namespace platform;

namespace {

std::function<void(const StatusPanelTexts&)> panelHook;

// Line 1 holds the clocks at its right end; line 2 takes the rest of the panel.
constexpr int LINE_HEIGHT = 14;
constexpr int MARGIN = 2;

StatusView currentView() {
    StatusView view;
    view.showThinking = appState.showThinking;
    view.showLevelLine = appState.showLevelLine;
    view.whiteToMove = appState.position->sideToMove() == WHITE;
    view.plyNumber = appState.plyNumber;
    const CMove move = appState.lastMove;
    view.hasLastMove = !(move == NO_MOVE);
    if (view.hasLastMove) {
        char coordinates[8] = "";
        coordinateText(move, coordinates);
        view.lastMoveCoordinates = coordinates;
        // SAN needs the position the move was made in.
        CPosition before(*appState.position);
        if (before.historyCount() > 0 && before.lastMove() == move) {
            before.takeBack();
            view.lastMoveSan = sanText(before, move, true);
        } else {
            view.lastMoveSan = coordinates;
        }
    }
    view.levelLine = levelText(appState.level);
    view.white = appState.game->white();
    view.black = appState.game->black();
    view.result = appState.game->result();
    view.note = engineNote();
    if (!chosenEngineCommand().empty()) view.otherEngine = appState.engineName;
    return view;
}

} // namespace

void setStatusPanelHook(std::function<void(const StatusPanelTexts&)> hook) {
    panelHook = std::move(hook);
}

void paintStatusPanel(Dc* dc) {
    const Rect& panel = appState.statusRect;
    const int width = panel.right - panel.left;
    const int height = panel.bottom - panel.top;
    if (width <= 1 || height <= 1) return;

    // Composed off screen and copied in one blit, so the redraws four times a second
    // never show a half-drawn panel.
    Dc* memory = createCompatibleDC(dc);
    Bitmap* bitmap = createBitmap(width, height);
    Bitmap* oldBitmap = selectBitmap(memory, bitmap);
    const Brush oldBrush = selectBrush(memory, WHITE_BRUSH);
    const Pen oldPen = selectPen(memory, Pen{rgb(255, 255, 255), false});
    rectangle(memory, Rect{0, 0, width, height});
    selectBrush(memory, oldBrush);
    selectPen(memory, oldPen);

    StatusPanelTexts texts;
    const StatusLines lines = statusLines(currentView(), engineReport.snapshot());
    texts.first = lines.first;
    texts.second = lines.second;
    texts.clocks = clockText(clocks(appState.level, clockInputs()), appState.flipped);
    const Rect firstLine{MARGIN, 0, width - MARGIN, LINE_HEIGHT};
    drawText(memory, texts.first.c_str(), firstLine, DT_LEFT);
    drawText(memory, texts.second.c_str(), Rect{MARGIN, LINE_HEIGHT, width - MARGIN, height},
             DT_LEFT);
    drawText(memory, texts.clocks.c_str(), firstLine, DT_RIGHT);

    bitBlt(dc, 0, panel.top, width - 1, height - 1, memory, 1, 1);
    selectBitmap(memory, oldBitmap);
    deleteBitmap(bitmap);
    deleteDC(memory);
    if (panelHook) panelHook(texts);
}
