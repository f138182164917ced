#include "platform/ui/messagebox.h"

#include "platform/ui/internal.h"
#include "platform/ui/messages.h"
#include "platform/ui/text.h"

#include <QMessageBox>

namespace platform {
namespace {

MessageBoxHook boxHook;

} // namespace

void setMessageBoxHook(MessageBoxHook hook) {
    boxHook = std::move(hook);
}

int messageBox(Window* owner, const char* text, const char* caption, unsigned flags) {
    const std::string boxText = text ? text : "";
    const std::string boxCaption = caption && *caption ? caption : "Tallowmere Chess";
    if (boxHook) {
        return boxHook(boxText, boxCaption, flags);
    }
    QMessageBox box(owner && owner->top ? owner->top.data() : nullptr);
    box.setWindowTitle(widen(boxCaption));
    box.setFont(dialogFont());
    box.setText(widen(boxText));
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
    scaleControls(&box);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return (flags & 0x0F) == MB_OK ? IDOK : IDCANCEL;
    }
}

} // namespace platform
