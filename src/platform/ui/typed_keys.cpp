#include "platform/ui/typed_keys.h"

#include "platform/ui/internal.h"
#include "platform/ui/messages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace platform {
namespace {

class TypedKeys : public QObject {
public:
    TypedKeys(Window* window, QObject* parent) : QObject(parent), m_window(window) {}

protected:
    // Qt offers a key first as ShortcutOverride, then (unless an accelerator took it) as
    // KeyPress, once to each widget up the chain: the program sees each stroke once, a
    // stroke lasting until its key is released.
    bool eventFilter(QObject* receiver, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress &&
             type != QEvent::KeyRelease) ||
            !overWindow(receiver)) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyRelease) {
            m_strokeKey = 0;
            return false;
        }
        if (key->key() == m_strokeKey && !key->isAutoRepeat()) {
            return m_taken;
        }
        m_strokeKey = key->key();
        m_taken = deliver(*key);
        if (m_taken && type == QEvent::ShortcutOverride) {
            // Accepted, the override keeps the accelerator from firing.
            key->accept();
        }
        return m_taken;
    }

private:
    bool overWindow(QObject* receiver) const {
        if (!m_window->top) {
            return false;
        }
        if (auto* widget = qobject_cast<QWidget*>(receiver)) {
            return widget->window() == m_window->top;
        }
        auto* window = qobject_cast<QWindow*>(receiver);
        return window && window == m_window->top->windowHandle();
    }

    bool deliver(const QKeyEvent& key) {
        if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            return false;
        }
        uintptr_t virtualKey = 0;
        switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            virtualKey = VK_RETURN;
            break;
        case Qt::Key_Backspace:
            virtualKey = VK_BACK;
            break;
        case Qt::Key_Escape:
            virtualKey = VK_ESCAPE;
            break;
        default:
            break;
        }
        if (virtualKey != 0) {
            return sendMessage(m_window, WM_KEYDOWN, virtualKey, 0) != 0;
        }
        const QString text = key.text();
        if (text.size() != 1 || text[0].unicode() < 0x21 || text[0].unicode() > 0x7E) {
            return false;
        }
        return sendMessage(m_window, WM_CHAR, uintptr_t(text[0].unicode()), 0) != 0;
    }

    Window* m_window;
    int m_strokeKey = 0; // the key of the stroke under way, 0 between strokes
    bool m_taken = false;
};

} // namespace

void deliverTypedKeys(Window* window) {
    if (!window || !window->top) {
        return;
    }
    // Parented to the window, the filter goes with it.
    qApp->installEventFilter(new TypedKeys(window, window->top));
}

} // namespace platform
