// The board on the screen: a full repaint of the main window, the board drawing alone, one
// frame of a dragged piece, one square. Runs off-screen at scale 1, or at the factor
// --scale N asks for (bench_board --scale 3).
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "app/startup.h"
#include "board/board_drawing.h"
#include "board/board_view.h"
#include "board/drag.h"
#include "board/geometry.h"
#include "platform/ui/application.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/bitmap_art.h"
#include "platform/ui/dc.h"
#include "platform/ui/internal.h"
#include "platform/ui/window.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

using namespace platform;

namespace {

// The middle-game position the drawing works on: most squares hold a piece.
const char POSITION[] = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8";

void setUpBoard() {
    appState.position->setFen(POSITION);
    appState.selectedSquare = squareFromText("e2");
    appState.highlightLastMove = true;
    appState.highlightedMove =
        CMove(squareFromText("c1"), WHITE_BISHOP, squareFromText("e3"), EMPTY);
}

void BM_FullBoardRepaint(benchmark::State& state) {
    setUpBoard();
    for (auto _ : state) {
        invalidateRect(shell.mainWindow, nullptr, false);
        updateWindow(shell.mainWindow);
    }
    benchmark::DoNotOptimize(windowPixel(shell.mainWindow, 135, 195));
}
BENCHMARK(BM_FullBoardRepaint)->Unit(benchmark::kMicrosecond);

// The same, with Qt putting the enlarged back buffer on the (off-screen) screen.
void BM_FullBoardRepaintShown(benchmark::State& state) {
    setUpBoard();
    for (auto _ : state) {
        invalidateRect(shell.mainWindow, nullptr, false);
        shell.mainWindow->surface->repaint();
    }
}
BENCHMARK(BM_FullBoardRepaintShown)->Unit(benchmark::kMicrosecond);

void BM_DrawBoardIntoBitmap(benchmark::State& state) {
    setUpBoard();
    Bitmap* target = createBitmap(240, 240);
    Dc* dc = createCompatibleDC(nullptr);
    selectBitmap(dc, target);
    const Rect board{0, 0, 240, 240};
    for (auto _ : state) {
        drawBoard(dc, board, 30, appState.position->board(), NOT_A_SQUARE, board, false);
    }
    deleteDC(dc);
    deleteBitmap(target);
}
BENCHMARK(BM_DrawBoardIntoBitmap)->Unit(benchmark::kMicrosecond);

void BM_DragFrame(benchmark::State& state) {
    setUpBoard();
    appState.selectedSquare = NO_MARK;
    const Point from = squareCentre(squareFromText("f3"));
    dragRender(shell.mainWindow, DragPhase::start, WHITE_KNIGHT, from.x, from.y);
    int step = 0;
    for (auto _ : state) {
        ++step;
        dragRender(shell.mainWindow, DragPhase::moveTo, WHITE_KNIGHT, from.x - step % 40,
                   from.y - step % 40);
    }
    dragRender(shell.mainWindow, DragPhase::end, WHITE_KNIGHT, from.x, from.y);
}
BENCHMARK(BM_DragFrame)->Unit(benchmark::kMicrosecond);

void BM_OneSquareRepaint(benchmark::State& state) {
    setUpBoard();
    const Square square = squareFromText("d4");
    for (auto _ : state) {
        invalidateSquare(square);
        updateWindow(shell.mainWindow);
    }
}
BENCHMARK(BM_OneSquareRepaint)->Unit(benchmark::kMicrosecond);

// Drawing a piece strip from the outlines, as a resize or a first frame at that factor does.
void BM_DrawPieceStrip(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawBitmapArt(116, int(state.range(0))));
    }
}
BENCHMARK(BM_DrawPieceStrip)->Arg(45)->Arg(90)->Arg(180)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    bool scaled = false;
    for (int i = 1; i < argc; ++i)
        scaled = scaled || std::string(argv[i]).rfind("--scale", 0) == 0;
    std::string error;
    initApplication(argc, argv, &error);
    if (!scaled) setWindowScale(1);
    if (!registerMainWindowClass() || !initInstance()) return 1;
    processMessages(20);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    exitInstance(0);
    shutdownApplication();
    return 0;
}
