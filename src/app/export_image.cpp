#include "app/export_image.h"

#include <ostream>
#include <string>

#include "app/app_state.h"
#include "app/dialog_modal.h"
#include "app/shell.h"
#include "app/show_message.h"
#include "board/board_image.h"
#include "database/file_replacement.h"
#include "database/file_system.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/dialog.h"
#include "platform/ui/filedialog.h"
#include "platform/ui/image_file.h"
#include "platform/ui/messages.h"

using namespace platform;

namespace {

constexpr int IDC_IMAGE_SIZE = 1200;
// Multiples of the board's 240 pixels draw every square alike.
constexpr int IMAGE_SIZES[] = {240, 480, 720, 960, 1200, 1440};
constexpr int DEFAULT_SIZE_INDEX = 1;

intptr_t imageSizeProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_INITDIALOG:
        for (const int size : IMAGE_SIZES) {
            listAddString(dialog, IDC_IMAGE_SIZE,
                          (std::to_string(size) + " x " + std::to_string(size)).c_str());
        }
        listSetCurSel(dialog, IDC_IMAGE_SIZE, DEFAULT_SIZE_INDEX);
        return 1;
    case WM_COMMAND:
        if (loWord(wParam) == IDOK) {
            const int chosen = listCurSel(dialog, IDC_IMAGE_SIZE);
            endDialog(dialog, IMAGE_SIZES[chosen < 0 ? DEFAULT_SIZE_INDEX : chosen]);
            return 1;
        }
        if (loWord(wParam) == IDCANCEL) {
            endDialog(dialog, 0);
            return 1;
        }
        return 0;
    default:
        (void)lParam;
        return 0;
    }
}

bool choosePath(Window* window, std::string* path) {
    FileDialogRequest request;
    request.title = "Export board image";
    request.filterText = "PNG image (*.png)";
    request.pattern = "*.png";
    request.defaultExtension = "png";
    request.initialFolder = shell.exeDirectory.c_str();
    request.save = true;
    request.overwritePrompt = true;
    return getFileName(window, request, path) && !path->empty();
}

} // namespace

int exportImageCommand(Window* window, int, intptr_t, unsigned) {
    int size = 0;
    std::string path;
    {
        const ModalScope modal;
        size = int(dialogBox("boardimage", window, imageSizeProc));
        if (size <= 0 || !choosePath(window, &path)) return 0;
    }
    Bitmap* image = drawBoardImage(window, size);
    std::string bytes;
    const bool encoded = image && pngBytes(image, &bytes);
    deleteBitmap(image);
    if (!encoded) {
        showMessage(window, "The board image could not be made.");
        return 0;
    }
    CFileReplacement replacement(realFileSystem(), path.c_str());
    if (!replacement.begin()) {
        showMessage(window, ("Could not open " + path).c_str());
        return 0;
    }
    replacement.out().write(bytes.data(), std::streamsize(bytes.size()));
    if (!replacement.commit()) {
        showMessage(window, ("Could not save the image to " + path).c_str());
    }
    return 0;
}
