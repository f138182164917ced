#include "board/promotion_dialog.h"

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/commands.h"
#include "app/dialog_modal.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dc.h"
#include "platform/ui/dialog.h"

using namespace platform;

namespace {

// The dialog always shows the Deluxe pieces, whatever set the board uses.
constexpr int DELUXE_STRIP = 116;
constexpr int IMAGE_SIZE = 30;
constexpr int CHOICES = 4;

bool whiteToMove() {
    return appState.position->sideToMove() == WHITE;
}

Piece queenOfSideToMove() {
    return whiteToMove() ? WHITE_QUEEN : BLACK_QUEEN;
}

// Left and top of the row of four images in the dialog.
Point choicesOrigin(Window* dialog) {
    const Rect client = getClientRect(dialog);
    return Point{(client.width() - CHOICES * IMAGE_SIZE) / 2, client.top + 40};
}

void paintChoices(Window* dialog) {
    PaintInfo paint{};
    Dc* dc = beginPaint(dialog, &paint);
    Bitmap* strip = loadBitmap(DELUXE_STRIP);
    if (strip) {
        Dc* stripDc = createCompatibleDC(dc);
        selectBitmap(stripDc, strip);
        const Point origin = choicesOrigin(dialog);
        // Queen, rook, bishop, knight in strip order.
        const int first = whiteToMove() ? 4 : 10;
        for (int i = 0; i < CHOICES; ++i) {
            transparentBlt(dc, origin.x + i * IMAGE_SIZE, origin.y, IMAGE_SIZE, IMAGE_SIZE, stripDc,
                           (first - i) * IMAGE_SIZE, 0);
        }
        deleteDC(stripDc);
        deleteBitmap(strip);
    }
    endPaint(dialog, &paint);
}

bool chooseAt(Window* dialog, int x, int y) {
    const Point origin = choicesOrigin(dialog);
    if (x < origin.x || x > origin.x + CHOICES * IMAGE_SIZE || y < origin.y ||
        y > origin.y + IMAGE_SIZE)
        return false;
    static constexpr Piece WHITE_CHOICES[CHOICES] = {WHITE_QUEEN, WHITE_ROOK, WHITE_BISHOP,
                                                     WHITE_KNIGHT};
    static constexpr Piece BLACK_CHOICES[CHOICES] = {BLACK_QUEEN, BLACK_ROOK, BLACK_BISHOP,
                                                     BLACK_KNIGHT};
    const int i = (x - origin.x) / IMAGE_SIZE;
    if (i >= CHOICES) return false;
    appState.promotionPiece = whiteToMove() ? WHITE_CHOICES[i] : BLACK_CHOICES[i];
    endDialog(dialog, IDOK);
    return true;
}

intptr_t promotionDialogProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_PAINT:
        paintChoices(dialog);
        return 0;
    case WM_LBUTTONUP:
        return chooseAt(dialog, pointX(lParam), pointY(lParam));
    case WM_COMMAND:
        if (loWord(wParam) == IDOK || loWord(wParam) == IDCANCEL) {
            appState.promotionPiece = queenOfSideToMove();
            endDialog(dialog, loWord(wParam));
            return 1;
        }
        return 0;
    case WM_HELP:
        showHelpAt("Promotion");
        return 1;
    default:
        return 0;
    }
}

} // namespace

Piece askPromotionPiece(Window* owner) {
    // A dialog that cannot open still gives a queen.
    appState.promotionPiece = queenOfSideToMove();
    {
        const ModalScope modal;
        dialogBox(IDD_PROMOTION, owner, promotionDialogProc);
    }
    return appState.promotionPiece;
}
