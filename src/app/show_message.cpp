#include "app/show_message.h"

#include "app/app_state.h"
#include "app/shell.h"
#include "platform/ui/messagebox.h"

using namespace platform;

namespace {

const char PROGRAM_NAME[] = "Tallowmere Chess";

int modalBox(Window* owner, const char* text, unsigned flags) {
    // A box over an open dialog leaves the flag set for the dialog.
    const bool dialogOpen = appState.modalOpen.exchange(true);
    const int answer =
        messageBox(owner ? owner : shell.mainWindow, text ? text : "", PROGRAM_NAME, flags);
    appState.modalOpen = dialogOpen;
    return answer;
}

} // namespace

void showMessage(Window* window, const char* text) {
    modalBox(window, text, MB_OK);
}

void showMessage(const char* text) {
    modalBox(nullptr, text, MB_OK);
}

bool askOkCancel(const char* text) {
    return modalBox(nullptr, text, MB_OKCANCEL) == IDOK;
}
