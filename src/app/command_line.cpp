#include "app/command_line.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "app/app_state.h"
#include "app/dialog_game_file.h"
#include "platform/ui/window.h"
#include "settings/option_keys.h"
#include "settings/settings.h"

using namespace platform;

namespace {

// The game file of the command line, until the window is shown.
std::string pendingGameFile;

bool endsWith(const std::string& text, const char* ending) {
    const size_t length = std::strlen(ending);
    return text.size() > length && text.compare(text.size() - length, length, ending) == 0;
}

// The one path the line holds, without its quotes; empty when it holds none or several.
std::string singlePath(const char* commandLine) {
    std::string line(commandLine ? commandLine : "");
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
        line = line.substr(1, line.size() - 2);
        return line.find('"') == std::string::npos ? line : std::string();
    }
    return line.find('"') == std::string::npos ? line : std::string();
}

// The book is read long after this start, from whatever folder the program is started
// in then: a relative path is kept as the absolute path it names now.
std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/' || path.front() == '\\') return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

} // namespace

CommandLinePaths pathsFromCommandLine(const char* commandLine) {
    CommandLinePaths paths;
    const std::string path = singlePath(commandLine);
    if (endsWith(path, ".gbk")) paths.book = absolutePath(path).c_str();
    if (endsWith(path, ".pgn")) paths.pgn = path.c_str();
    return paths;
}

void takeBookFromCommandLine(const CommandLinePaths& paths) {
    if (!paths.book.isEmpty()) appState.settings->setString(BOOK_KEY, paths.book);
}

void openGameFromCommandLine(Window* window, const CommandLinePaths& paths) {
    if (paths.pgn.isEmpty()) return;
    pendingGameFile = paths.pgn.c_str();
    setTimer(window, OPEN_FILE_TIMER, 1);
}

void openFileTick(Window* window) {
    // Opened before the first frame, a game list would stand in front of an empty window.
    if (windowFramesShown(window) == 0) return;
    killTimer(window, OPEN_FILE_TIMER);
    const std::string path = std::move(pendingGameFile);
    pendingGameFile.clear();
    if (!path.empty()) openGameFile(window, path);
}

bool gameFileFromCommandLinePending() {
    return !pendingGameFile.empty();
}

std::vector<std::string> filesToHandOver(const CommandLinePaths& paths) {
    if (paths.pgn.isEmpty()) return {};
    return {absolutePath(paths.pgn.c_str())};
}
