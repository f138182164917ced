#pragma once
// A modal dialog driven as a user would: a timer waits for it to open and then acts on it.

#include "platform/ui/dialog.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs action on the next dialog that opens; closes whatever is modal after a deadline, so
// that a dialog that never opens or never ends cannot hang the suite. Never assert inside
// action: a failed assertion there would leave the dialog open.
inline void whenDialogOpens(std::function<void(platform::Window*)> action) {
    auto* timer = new QTimer;
    auto* ticks = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, action] {
        if (platform::Window* dialog = platform::activeDialog();
            dialog && QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            delete ticks;
            action(dialog);
            return;
        }
        if (++*ticks > 400) {
            timer->stop();
            timer->deleteLater();
            delete ticks;
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        }
    });
    timer->start(5);
}
