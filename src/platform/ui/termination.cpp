#include "platform/ui/termination.h"

#include "platform/ui/internal.h"
#include "platform/ui/messages.h"

#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int ENDING_SIGNALS[] = {SIGTERM, SIGHUP, SIGINT};

// The handler may only write to a pipe; the interface thread reads it through a notifier.
int signalPipe[2] = {-1, -1};
volatile sig_atomic_t signalReceived = 0;

QPointer<QWidget> target;
Window* targetWindow = nullptr;
int targetCommand = 0;
bool delivered = false;

void onEndingSignal(int signalNumber) {
    if (signalReceived) {
        // The user asked twice: whatever the first one still waits for, end now.
        std::signal(signalNumber, SIG_DFL);
        raise(signalNumber);
        return;
    }
    signalReceived = signalNumber;
    const char byte = char(signalNumber);
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

// The window record lives as long as its surface.
bool targetLive() {
    return target && !targetWindow->destroyed;
}

// True when a modal dialog was open (and is now cancelled).
bool cancelModalDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return false;
    // Cancelled as the user's Escape would, so that the program's dialog code returns.
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
    return true;
}

// Sends the command once no modal loop is left to unwind: the command's own
// WM_CLOSE must reach the main loop, not a dialog's.
void deliverWhenNoDialog() {
    if (delivered || !targetLive()) return;
    if (cancelModalDialog()) {
        QTimer::singleShot(10, target.data(), deliverWhenNoDialog);
        return;
    }
    delivered = true;
    sendMessage(targetWindow, WM_COMMAND, makeWParam(targetCommand, 0), 0);
}

void installSignalHandlers() {
    if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action = {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : ENDING_SIGNALS) {
        sigaction(signalNumber, &action, nullptr);
    }
}

} // namespace

void deliverTerminationAs(Window* window, int commandId) {
    if (!window || !window->surface) return;
    target = window->surface.data();
    targetWindow = window;
    targetCommand = commandId;
    delivered = false;
    installSignalHandlers();
    if (signalPipe[0] < 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, target.data());
    QObject::connect(notifier, &QSocketNotifier::activated, target.data(), [] {
        char bytes[16];
        while (read(signalPipe[0], bytes, sizeof bytes) > 0) {}
        deliverWhenNoDialog();
    });
    QObject::connect(
        qApp, &QGuiApplication::commitDataRequest, target.data(),
        [](QSessionManager&) { sessionEnds(); }, Qt::DirectConnection);
}

void sessionEnds() {
    // The session manager waits for this call only: no dialog can be unwound first,
    // so the command goes at once, inside whatever loop runs.
    for (int dialogs = 0; dialogs < 8 && cancelModalDialog(); ++dialogs) {}
    if (delivered || !targetLive()) return;
    delivered = true;
    sendMessage(targetWindow, WM_COMMAND, makeWParam(targetCommand, 0), 0);
}

} // namespace platform
