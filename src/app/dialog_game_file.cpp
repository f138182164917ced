#include "app/dialog_game_file.h"

#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/background_index.h"
#include "app/dialog_game_details.h"
#include "app/dialog_game_list.h"
#include "app/dialog_modal.h"
#include "app/dialog_save_choice.h"
#include "app/show_message.h"
#include "app/stored_state.h"
#include "board/animation.h"
#include "database/database.h"
#include "database/file_replacement.h"
#include "pgn/pgn_reader.h"
#include "platform/kernel/paths.h"
#include "platform/ui/cursor.h"
#include "platform/ui/filedialog.h"
#include "platform/ui/window.h"
#include "settings/autosave.h"
#include "settings/settings.h"

using namespace platform;

namespace {

CFileSystem* saveFiles = nullptr;
// The game last opened from the loaded file, to know whether the current game is it.
const CGame* openedGame = nullptr;
// The loaded file's indexing was stopped by the user: its index ends before the file.
bool indexStopped = false;

// The folder of the game file chosen last, so that the next choice starts beside it.
constexpr char GAME_FOLDER_KEY[] = "GameFolder";

std::string startFolder() {
    CText stored;
    if (appState.settings && appState.settings->getString(GAME_FOLDER_KEY, &stored) &&
        !stored.isEmpty() && std::filesystem::is_directory(stored.c_str()))
        return stored.c_str();
    return documentsFolder();
}

void rememberFolder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (appState.settings && slash != std::string::npos)
        appState.settings->setString(GAME_FOLDER_KEY, path.substr(0, slash + 1).c_str());
}

FileDialogRequest pgnFileRequest(const char* title, bool save, const std::string& folder) {
    FileDialogRequest request;
    request.title = title;
    request.filterText = ".pgn file (*.pgn)";
    request.pattern = "*.pgn";
    request.defaultExtension = "pgn";
    request.initialFolder = folder;
    request.save = save;
    request.mustExist = !save;
    request.overwritePrompt = save;
    return request;
}

bool chooseFile(Window* window, const char* title, bool save, std::string* path) {
    const ModalScope modal;
    if (!getFileName(window, pgnFileRequest(title, save, startFolder()), path) || path->empty())
        return false;
    rememberFolder(*path);
    return true;
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

namespace {

CText fileNameOf(const CDatabase& database) {
    const std::string path = database.fileName().c_str();
    return path.substr(path.find_last_of('/') + 1).c_str();
}

// Game n (0-based) of the database becomes the current game, as Load game makes it.
void openGameAt(Window* window, CDatabase& database, int n) {
    std::unique_ptr<CGame> game = database.gameAt(n);
    if (!game) {
        const std::string path = database.fileName().c_str();
        // Staying silent would leave the user wondering whether anything was read.
        showMessage(window, (database.index().size() == 1 ? "No game could be read from " + path
                                                          : "Game " + std::to_string(n + 1) +
                                                                " could not be read from " + path)
                                .c_str());
        return;
    }
    openGame(window, std::move(game));
    openedGame = appState.game.get();
}

// A large file: the list shows at once and fills as the file is indexed. The loaded
// file and the game stay as they are until a game is opened from it.
void loadWhileIndexing(Window* window, const std::string& path) {
    IndexedList indexed = gameListWhileIndexing(window, path);
    if (indexed.failed) {
        showMessage(window, ("Could not open " + path).c_str());
        return;
    }
    if (indexed.complete && indexed.entries.empty()) {
        showMessage(window, ("No game could be read from " + path).c_str());
        return;
    }
    if (indexed.chosen < 0) return;
    CDatabase& database = gameDatabase();
    if (!database.openIndexed(path.c_str(), std::move(indexed.entries))) {
        showMessage(window, ("Could not open " + path).c_str());
        return;
    }
    indexStopped = !indexed.complete;
    openGameAt(window, database, indexed.chosen);
}

} // namespace

void openGame(Window* window, std::unique_ptr<CGame> game) {
    // Said once, so the user knows the game is not all the file holds; the
    // unread text is kept in a comment and saved with the game.
    const std::string leftOut = game->leftOut.c_str();
    takeTimesFromComments(*game);
    autosaveGame();
    settleBoard(window);
    appState.setLoadedGame(game.release());
    invalidateRect(window, nullptr, true);
    if (!leftOut.empty()) showMessage(window, ("The game was read in part: " + leftOut).c_str());
}

void writeGameAsSaved(CGame& game, std::ostream& out) {
    game.setOptions(75, true, true, true, true, false);
    game.writeTo(out);
}

void loadGame(Window* window) {
    std::string path;
    if (chooseFile(window, "Select file", false, &path)) openGameFile(window, path);
}

void openGameFile(Window* window, const std::string& path) {
    // Load game cannot be chosen behind an open dialog or message box; a file that comes
    // from outside then (a drop, a second start) is refused as well, not opened behind it.
    if (appState.modalOpen) return;
    CDatabase& database = gameDatabase();
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && int64_t(size) >= backgroundIndexSize()) {
        loadWhileIndexing(window, path);
        return;
    }
    if (!openUnderWaitCursor(database, path)) {
        showMessage(window, ("Could not open " + path).c_str());
        return;
    }
    indexStopped = false;
    if (database.index().empty()) {
        showMessage(window, ("No game could be read from " + path).c_str());
        return;
    }
    if (database.index().size() == 1) {
        openGameAt(window, database, 0);
        return;
    }
    const int chosen = gameListDialog(window, database, 0);
    if (chosen >= 0) openGameAt(window, database, chosen);
}

void gameList(Window* window) {
    CDatabase& database = gameDatabase();
    if (!database.isOpen() || database.index().empty()) {
        loadGame(window);
        return;
    }
    const int chosen = gameListDialog(window, database, database.current());
    if (chosen >= 0) openGameAt(window, database, chosen);
}

void stepGame(Window* window, int step) {
    CDatabase& database = gameDatabase();
    if (!database.isOpen() || database.index().empty()) {
        showMessage(window, "No file is loaded: Load game first");
        return;
    }
    const int n = database.current() + step;
    if (n < 0 || n >= int(database.index().size())) {
        const std::string which = step < 0       ? "the first"
                                  : indexStopped ? "the last indexed"
                                                 : "the last";
        showMessage(window, ("Game " + std::to_string(database.current() + 1) + " is " + which +
                             " game in " + fileNameOf(database).c_str())
                                .c_str());
        return;
    }
    openGameAt(window, database, n);
}

namespace {

// The current game, if it was opened from the file loaded last: which game it is there.
int loadedGameIn(const std::string& path) {
    const CDatabase& loaded = gameDatabase();
    if (!openedGame || openedGame != appState.game.get() || !loaded.isOpen() ||
        loaded.fileName() != path.c_str())
        return -1;
    return loaded.current();
}

// Writes the game as chosen; false, with the file as it was, when that fails. On
// success *number is where the game now stands in the file.
bool writeGame(CFileSystem& files, const std::string& path, SaveChoice choice, int loadedGame,
               CGame& game, int* number) {
    if (choice == SaveChoice::replaceFile) {
        CFileReplacement replacement(files, path.c_str());
        if (!replacement.begin()) return false;
        game.writeTo(replacement.out());
        *number = 0;
        return replacement.commit();
    }
    CPgnReader reader;
    CDatabase existing(reader, files);
    if (!existing.open(path.c_str())) return false;
    *number = choice == SaveChoice::append ? int(existing.index().size()) : loadedGame;
    return choice == SaveChoice::append ? existing.appendSafely(game)
                                        : existing.replaceAt(loadedGame, game);
}

} // namespace

void saveGame(Window* window) {
    std::string path;
    if (!chooseFile(window, "New file", true, &path)) return;
    CFileSystem& files = saveFiles ? *saveFiles : realFileSystem();
    // Asked before anything else, so that nobody answers questions for a file that is refused.
    {
        CFileReplacement probe(files, path.c_str());
        if (!probe.begin()) {
            showMessage(window, ("Could not open " + path + " ").c_str());
            return;
        }
    }
    const int loadedGame = loadedGameIn(path);
    SaveChoice choice = SaveChoice::replaceFile;
    {
        CPgnReader reader;
        CDatabase existing(reader, files);
        const int games = existing.open(path.c_str()) ? int(existing.index().size()) : 0;
        if (games > 0) {
            const std::string name = path.substr(path.find_last_of('/') + 1);
            choice = saveChoiceDialog(window, name, games, loadedGame);
        }
    }
    if (choice == SaveChoice::cancel || !gameDetailsDialog(window)) return;
    appState.completeTags(false);
    CGame& game = *appState.game;
    game.setOptions(75, true, true, true, true, false);
    int number = 0;
    if (!writeGame(files, path, choice, loadedGame, game, &number)) {
        showMessage(window, ("Could not save the game to " + path).c_str());
        return;
    }
    CDatabase& loaded = gameDatabase();
    if (loaded.isOpen() && loaded.fileName() == path.c_str()) {
        openUnderWaitCursor(loaded, path);
        indexStopped = false;
        // The saved game is now the file's game that Save and Next game count from.
        loaded.setCurrent(number);
        openedGame = appState.game.get();
    }
}
