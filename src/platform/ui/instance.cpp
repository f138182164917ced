#include "platform/ui/instance.h"

#include "platform/kernel/instance.h"
#include "platform/ui/internal.h"
#include "platform/ui/messagebox.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

InstanceLock lock;
int listener = -1;
QPointer<QSocketNotifier> listening;

// The running instance listens on a named pipe beside its lock; a byte written
// there is the request to come to the front.
std::string pipePath() {
    return lock.lockPath() + ".fifo";
}

} // namespace

bool claimSingleInstance() {
    switch (lock.acquire()) {
    case LockResult::Acquired:
        return true;
    case LockResult::Failed: {
        // Better a second window now and then than a program that never starts.
        const std::string text = "Tallowmere Chess cannot tell whether it runs already (" +
                                 lock.failure() + "). It starts anyway.";
        messageBox(nullptr, text.c_str(), "Tallowmere Chess", MB_OK | MB_ICONWARNING);
        return true;
    }
    case LockResult::HeldElsewhere:
        break;
    }
    const int writer = open(pipePath().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0) {
        const char request = 'R';
        if (write(writer, &request, 1) != 1) {
            // The first instance is not listening (yet); there is nothing more to do.
        }
        close(writer);
    }
    return false;
}

void answerOtherInstances(Window* window) {
    if (!lock.isHeld() || !window || !window->surface || listener >= 0) {
        return;
    }
    const std::string path = pipePath();
    unlink(path.c_str());
    if (mkfifo(path.c_str(), 0600) != 0) {
        return;
    }
    // Read and write, so that the pipe never reports end of file when a writer leaves.
    listener = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (listener < 0) {
        return;
    }
    listening = new QSocketNotifier(listener, QSocketNotifier::Read, window->surface);
    QObject::connect(listening, &QSocketNotifier::activated, window->surface, [window] {
        char requests[64];
        while (read(listener, requests, sizeof requests) > 0) {}
        setForegroundWindow(window);
    });
}

void releaseSingleInstance() {
    if (listener >= 0) {
        delete listening.data();
        close(listener);
        listener = -1;
        unlink(pipePath().c_str());
    }
    lock.release();
}

} // namespace platform
