#include "platform/ui/file_drop.h"

#include "platform/ui/internal.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <memory>

namespace platform {

struct Drop {
    std::vector<std::string> paths;
};

namespace {

// The local files among what is dragged, as bytes the file system takes back.
std::vector<std::string> localFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return paths;
}

class DropTarget : public QObject {
public:
    DropTarget(Window* window, QObject* parent) : QObject(parent), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (localFiles(drag->mimeData()).empty()) {
                drag->ignore();
            } else {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> paths = localFiles(drop->mimeData());
            if (paths.empty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // Posted, not sent: the desktop's drag ends now, not after whatever the program
            // opens for the file (a game list waits for the user).
            postDroppedFiles(m_window, std::move(paths));
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    Window* m_window;
};

} // namespace

void dragAcceptFiles(Window* window) {
    if (!window || !window->surface) return;
    window->surface->setAcceptDrops(true);
    window->surface->installEventFilter(new DropTarget(window, window->surface.data()));
}

void postDroppedFiles(Window* window, std::vector<std::string> paths) {
    if (!window || !window->surface || paths.empty()) return;
    // Held by the call: freed when it has run, or when Qt drops it with the surface.
    auto drop = std::make_shared<Drop>(Drop{std::move(paths)});
    QMetaObject::invokeMethod(
        window->surface.data(),
        [window, drop] {
            if (!window->destroyed)
                sendMessage(window, WM_DROPFILES, reinterpret_cast<uintptr_t>(drop.get()), 0);
        },
        Qt::QueuedConnection);
}

int dragQueryFileCount(const Drop* drop) {
    return drop ? int(drop->paths.size()) : 0;
}

std::string dragQueryFile(const Drop* drop, int index) {
    return index >= 0 && index < dragQueryFileCount(drop) ? drop->paths[size_t(index)]
                                                          : std::string();
}

} // namespace platform
