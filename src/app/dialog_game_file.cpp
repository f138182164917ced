#include "app/dialog_game_file.h"

#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "app/app_state.h"
#include "app/dialog_game_details.h"
#include "app/dialog_modal.h"
#include "app/shell.h"
#include "app/show_message.h"
#include "app/stored_state.h"
#include "board/animation.h"
#include "database/database.h"
#include "database/file_replacement.h"
#include "pgn/pgn_reader.h"
#include "platform/ui/cursor.h"
#include "platform/ui/filedialog.h"
#include "platform/ui/window.h"
#include "settings/autosave.h"

using namespace platform;

namespace {

CFileSystem* saveFiles = nullptr;

FileDialogRequest pgnFileRequest(const char* title, bool save) {
    FileDialogRequest request;
    request.title = title;
    request.filterText = ".pgn file (*.pgn)";
    request.pattern = "*.pgn";
    request.defaultExtension = "pgn";
    request.initialFolder = shell.exeDirectory.c_str();
    request.save = save;
    request.mustExist = !save;
    request.overwritePrompt = save;
    return request;
}

bool chooseFile(Window* window, const char* title, bool save, std::string* path) {
    const ModalScope modal;
    return getFileName(window, pgnFileRequest(title, save), path) && !path->empty();
}

// Opening indexes the whole file, which takes a moment for a large one.
bool openUnderWaitCursor(CDatabase& database, const std::string& path) {
    const Cursor previous = setCursor(Cursor::wait);
    const bool opened = database.open(path.c_str());
    setCursor(previous);
    return opened;
}

} // namespace

CDatabase& gameDatabase() {
    static CPgnReader reader;
    static CDatabase database(reader);
    return database;
}

void setSaveFileSystem(CFileSystem* files) {
    saveFiles = files;
}

void loadGame(Window* window) {
    std::string path;
    if (!chooseFile(window, "Select file", false, &path)) return;
    CDatabase& database = gameDatabase();
    if (!openUnderWaitCursor(database, path)) {
        showMessage(window, ("Could not open " + path).c_str());
        return;
    }
    std::unique_ptr<CGame> game = database.gameAt(0);
    if (!game) {
        // Staying silent would leave the user wondering whether anything was read.
        showMessage(window, ("No game could be read from " + path).c_str());
        return;
    }
    takeTimesFromComments(*game);
    autosaveGame();
    finishAnimation(window);
    appState.setLoadedGame(game.release());
    invalidateRect(window, nullptr, true);
}

void saveGame(Window* window) {
    std::string path;
    if (!chooseFile(window, "New file", true, &path)) return;
    CFileSystem& files = saveFiles ? *saveFiles : realFileSystem();
    // Asked before the details, so that nobody fills them in for a file that is refused.
    CFileReplacement replacement(files, path.c_str());
    if (!replacement.begin()) {
        showMessage(window, ("Could not open " + path + " ").c_str());
        return;
    }
    gameDetailsDialog(window);
    appState.completeTags(false);
    CGame& game = *appState.game;
    game.setOptions(75, true, true, true, true, false);
    game.writeTo(replacement.out());
    if (!replacement.commit()) {
        showMessage(window, ("Could not save the game to " + path).c_str());
        return;
    }
    CDatabase& loaded = gameDatabase();
    if (loaded.isOpen() && loaded.fileName() == path.c_str()) openUnderWaitCursor(loaded, path);
}
