#include "platform/ui/filedialog.h"

#include "platform/kernel/paths.h"
#include "platform/ui/internal.h"
#include "platform/ui/text.h"

#include <QFileDialog>

namespace platform {
namespace {

FileDialogHook fileHook;

} // namespace

void setFileDialogHook(FileDialogHook hook) {
    fileHook = std::move(hook);
}

bool getFileName(Window* owner, const FileDialogRequest& request, std::string* path) {
    if (!path) {
        return false;
    }
    if (fileHook) {
        return fileHook(request, path);
    }
    QFileDialog dialog(owner && owner->top ? owner->top.data() : nullptr, widen(request.title),
                       widen(mapHandheldPath(request.initialFolder)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(widen(request.filterText.empty() ? request.pattern : request.filterText));
    dialog.setDefaultSuffix(widen(request.defaultExtension));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    *path = narrow(dialog.selectedFiles().first());
    return !path->empty();
}

} // namespace platform
