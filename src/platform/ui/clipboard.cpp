#include "platform/ui/clipboard.h"

#include "platform/ui/text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void setClipboardText(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(widen(text));
    }
}

std::string clipboardText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? narrow(clipboard->text()) : std::string();
}

} // namespace platform
