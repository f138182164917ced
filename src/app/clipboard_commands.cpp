#include "app/clipboard_commands.h"

#include <memory>
#include <sstream>
#include <string>

#include "app/app_state.h"
#include "app/dialog_game_file.h"
#include "app/dialog_setup_board.h"
#include "app/show_message.h"
#include "pgn/pgn_reader.h"
#include "platform/ui/clipboard.h"
#include "rules/fen_form.h"

using namespace platform;

namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The first game of a PGN text, or null when the text holds none: a game must have a
// tag pair or a move, or any text would pass as an empty game.
std::unique_ptr<CGame> firstGameOf(const std::string& text) {
    std::istringstream stream(text);
    CPgnReader reader;
    const int64_t start = reader.firstGameOffset(stream, 0);
    stream.clear();
    int64_t next = 0;
    std::unique_ptr<CGame> game;
    if (!reader.readGame(stream, start, next, game) || !game ||
        reader.report().outcome == CReadReport::Outcome::FAILED) {
        return nullptr;
    }
    const bool hasMove = game->root() && game->root()->hasChildren();
    if (!hasMove && text[0] != '[') return nullptr;
    return game;
}

} // namespace

int copyPositionCommand(Window*, int, intptr_t, unsigned) {
    char fen[FEN_BUFFER_SIZE];
    appState.position->getFen(fen);
    setClipboardText(fen);
    return 0;
}

int copyGameCommand(Window*, int, intptr_t, unsigned) {
    std::ostringstream text;
    writeGameAsSaved(*appState.game, text);
    setClipboardText(text.str());
    return 0;
}

int pasteCommand(Window* window, int, intptr_t, unsigned) {
    const std::string text = trimmed(clipboardText());
    if (!text.empty() && fenFormProblem(text.c_str()).empty()) {
        startGameFromFen(window, joinedFenFields(text.c_str()).c_str());
        return 0;
    }
    std::unique_ptr<CGame> game = text.empty() ? nullptr : firstGameOf(text);
    if (!game) {
        showMessage(window, "The clipboard holds neither a position (FEN) nor a game (PGN).");
        return 0;
    }
    openGame(window, std::move(game));
    return 0;
}
