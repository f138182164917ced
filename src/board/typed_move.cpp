#include "board/typed_move.h"

#include <cctype>
#include <string>

#include "app/app_state.h"
#include "app/engine_link.h"
#include "board/animation.h"
#include "board/board_view.h"
#include "board/move_input.h"
#include "board/move_sound.h"
#include "pgn/move_word.h"
#include "platform/ui/messages.h"
#include "platform/ui/window.h"

using namespace platform;

namespace {

std::string typed;
std::string refused;
// The node the text belongs to: once the game has moved on, it is stale.
const CMoveNode* typedAt = nullptr;

bool takesCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '=' || c == '+';
}

void showLine(Window* window) {
    invalidateRect(window, &appState.statusRect, false);
}

void clearText() {
    typed.clear();
    refused.clear();
}

// A text typed at another node means nothing here.
void dropStaleText() {
    if (typedAt != appState.currentNode) clearText();
    typedAt = appState.currentNode;
}

void playTypedText(Window* window) {
    const std::string text = typed;
    clearText();
    CMoveWord read;
    if (!readMoveWord(*appState.position, text, read) || read.move == NULL_MOVE) {
        refused = text;
        playMoveSound(NO_MOVE);
        return;
    }
    settleBoard(window);
    clearMarks();
    playUserMove(window, read.move, true);
}

} // namespace

intptr_t onChar(Window* window, unsigned, uintptr_t wParam, intptr_t) {
    const char c = char(wParam);
    if (wParam > 0x7E || !takesCharacter(c) || engineBusy()) return 0;
    dropStaleText();
    refused.clear();
    if (typed.size() < MAX_MOVE_TEXT) typed += c;
    showLine(window);
    return 1;
}

intptr_t onKeyDown(Window* window, unsigned, uintptr_t wParam, intptr_t) {
    dropStaleText();
    if (typed.empty() && refused.empty()) return 0;
    switch (wParam) {
    case VK_BACK:
        if (!typed.empty()) typed.pop_back();
        refused.clear();
        break;
    case VK_ESCAPE:
        clearText();
        break;
    case VK_RETURN:
        // Without a text Return is Move now; with one it plays the text.
        if (typed.empty()) return 0;
        if (engineBusy()) {
            playMoveSound(NO_MOVE);
            return 1;
        }
        playTypedText(window);
        break;
    default:
        return 0;
    }
    showLine(window);
    return 1;
}

CText typedMoveLine() {
    if (typedAt != appState.currentNode) return CText();
    if (!refused.empty()) return CText(("Not a legal move: " + refused).c_str());
    if (!typed.empty()) return CText(("Move: " + typed).c_str());
    return CText();
}
