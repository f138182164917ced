#include "platform/ui/cursor.h"

#include <QApplication>
#include <QCursor>

namespace platform {

Cursor setCursor(Cursor cursor) {
    const Cursor previous = currentCursor();
    if (cursor == previous) {
        return previous;
    }
    if (cursor == Cursor::wait) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        // Only the layer's own wait cursor is taken off; nothing else sets one.
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
        }
    }
    return previous;
}

Cursor currentCursor() {
    const QCursor* shown = QApplication::overrideCursor();
    return shown && shown->shape() == Qt::WaitCursor ? Cursor::wait : Cursor::arrow;
}

} // namespace platform
