#include "app/dialog_options_engine.h"

#include <optional>
#include <string>

#include "app/engine_choice.h"
#include "platform/ui/dialog.h"
#include "platform/ui/filedialog.h"
#include "platform/ui/messages.h"

using namespace platform;

namespace {

const char TARNWICK_ROW[] = "Tarnwick";
const char UCI_ROW[] = "UCI engine...";

// What OK read, until the sheet has closed.
std::optional<std::string> chosenOnPage;

// The path as one word for the shell-like splitting of the command.
std::string quotedPath(const std::string& path) {
    if (path.find_first_of(" \t'\"\\$`~") == std::string::npos) return path;
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

void fillEngine(Window* page) {
    chosenOnPage.reset();
    listAddString(page, IDC_ENGINE, TARNWICK_ROW);
    listAddString(page, IDC_ENGINE, UCI_ROW);
    const std::string command = storedEngineCommand();
    listSetCurSel(page, IDC_ENGINE,
                  listFindStringExact(page, IDC_ENGINE, command.empty() ? TARNWICK_ROW : UCI_ROW));
    setDlgItemText(page, IDC_ENGINE_COMMAND, command.c_str());
}

bool engineRowCommand(Window* page, uintptr_t wParam) {
    if (loWord(wParam) != IDC_ENGINE_BROWSE) return false;
    FileDialogRequest request;
    request.title = "Choose a UCI engine";
    request.filterText = "Programs (*)";
    request.pattern = "*";
    request.initialFolder = "/usr/games";
    request.mustExist = true;
    std::string path;
    if (getFileName(page, request, &path)) {
        setDlgItemText(page, IDC_ENGINE_COMMAND, quotedPath(path).c_str());
        listSetCurSel(page, IDC_ENGINE, listFindStringExact(page, IDC_ENGINE, UCI_ROW));
    }
    return true;
}

void readBackEngine(Window* page) {
    const bool uci = getDlgItemText(page, IDC_ENGINE) == UCI_ROW;
    // A UCI engine without a command is no choice: Tarnwick.
    chosenOnPage = uci ? trimmed(getDlgItemText(page, IDC_ENGINE_COMMAND)) : std::string();
}

void applyEngineChoice() {
    if (!chosenOnPage) return;
    const std::string command = *chosenOnPage;
    chosenOnPage.reset();
    // OK on a page left as it was keeps the engine that plays, even one of --engine.
    if (command != storedEngineCommand()) chooseEngine(command);
}
