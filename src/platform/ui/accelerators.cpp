#include "platform/ui/accelerators.h"

#include "platform/ui/internal.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextStream>
#include <string>
#include <vector>

namespace platform {

struct Accelerators {
    struct Entry {
        QKeySequence key;
        int command;
    };
    std::vector<Entry> entries;
};

Accelerators* loadAccelerators(int resourceId) {
    QByteArray bytes;
    if (!readResource("accelerators/" + std::to_string(resourceId) + ".acc", &bytes)) {
        return nullptr;
    }
    auto table = std::make_unique<Accelerators>();
    QTextStream lines(bytes);
    while (!lines.atEnd()) {
        QString line = lines.readLine();
        line = line.left(line.indexOf(QLatin1Char('#'))).trimmed();
        if (line.isEmpty()) {
            continue;
        }
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool isNumber = false;
        const int command = fields.size() == 2 ? fields[1].toInt(&isNumber) : 0;
        const QKeySequence key = QKeySequence::fromString(fields[0], QKeySequence::PortableText);
        if (!isNumber || key.isEmpty() || key[0].key() == Qt::Key_unknown) {
            return nullptr;
        }
        table->entries.push_back({key, command});
    }
    return table.release();
}

void destroyAccelerators(Accelerators* accelerators) {
    delete accelerators;
}

void attachAccelerators(Window* window, Accelerators* accelerators) {
    if (!window || !accelerators || !window->top) {
        return;
    }
    for (const auto& entry : accelerators->entries) {
        auto* shortcut = new QShortcut(entry.key, window->top);
        shortcut->setContext(Qt::WindowShortcut);
        const int command = entry.command;
        QObject::connect(shortcut, &QShortcut::activated, window->top, [window, command] {
            sendMessage(window, WM_COMMAND, makeWParam(unsigned(command), 1), 0);
        });
        if (window->menuBar) {
            showMenuShortcut(window->menuBar, command,
                             entry.key.toString(QKeySequence::NativeText));
        }
    }
}

int acceleratorCount(const Accelerators* accelerators) {
    return accelerators ? int(accelerators->entries.size()) : 0;
}

int acceleratorCommand(const Accelerators* accelerators, const char* key) {
    if (!accelerators || !key) {
        return 0;
    }
    const QKeySequence wanted = QKeySequence::fromString(QString::fromUtf8(key));
    for (const auto& entry : accelerators->entries) {
        if (entry.key == wanted) {
            return entry.command;
        }
    }
    return 0;
}

} // namespace platform
