#include "app/show_message.h"

#include "app/dialog_modal.h"
#include "app/shell.h"
#include "platform/ui/messagebox.h"

using namespace platform;

namespace {

const char PROGRAM_NAME[] = "Tallowmere Chess";

int modalBox(Window* owner, const char* text, unsigned flags) {
    const ModalScope modal;
    return messageBox(owner ? owner : shell.mainWindow, text ? text : "", PROGRAM_NAME, flags);
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
