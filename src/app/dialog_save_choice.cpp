#include "app/dialog_save_choice.h"

#include "app/commands.h"
#include "app/dialog_modal.h"
#include "platform/ui/dialog.h"

using namespace platform;

namespace {

struct Question {
    std::string fileName;
    int games = 0;
    int loadedGame = -1;
};

Question question;

intptr_t saveChoiceProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t) {
    switch (message) {
    case WM_INITDIALOG: {
        const std::string games =
            question.games == 1 ? "1 game" : std::to_string(question.games) + " games";
        setDlgItemText(dialog, IDC_SAVE_QUESTION,
                       (question.fileName + " holds " + games + ".").c_str());
        if (question.loadedGame >= 0) {
            const std::string replace = "Replace game " + std::to_string(question.loadedGame + 1) +
                                        ", which it was loaded from";
            setDlgItemText(dialog, IDC_SAVE_REPLACE_GAME, replace.c_str());
        }
        enableDlgItem(dialog, IDC_SAVE_REPLACE_GAME, question.loadedGame >= 0);
        // Adding loses nothing, so it is what Return does.
        checkDlgButton(dialog, IDC_SAVE_APPEND, true);
        return 1;
    }
    case WM_COMMAND:
        switch (loWord(wParam)) {
        case IDOK:
            endDialog(dialog, isDlgButtonChecked(dialog, IDC_SAVE_REPLACE_GAME)
                                  ? int(SaveChoice::replaceGame)
                              : isDlgButtonChecked(dialog, IDC_SAVE_REPLACE_FILE)
                                  ? int(SaveChoice::replaceFile)
                                  : int(SaveChoice::append));
            return 1;
        case IDCANCEL:
            endDialog(dialog, int(SaveChoice::cancel));
            return 1;
        default:
            return 0;
        }
    case WM_HELP:
        showHelpAt("SaveGame");
        return 1;
    default:
        return 0;
    }
}

} // namespace

SaveChoice saveChoiceDialog(Window* owner, const std::string& fileName, int games, int loadedGame) {
    const ModalScope modal;
    question = Question{fileName, games, loadedGame};
    const intptr_t answer = dialogBox("savechoice", owner, saveChoiceProc);
    if (answer < int(SaveChoice::append) || answer > int(SaveChoice::replaceFile))
        return SaveChoice::cancel;
    return SaveChoice(answer);
}
