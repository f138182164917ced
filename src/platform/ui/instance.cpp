#include "platform/ui/instance.h"

#include "platform/kernel/instance.h"
#include "platform/kernel/instance_requests.h"
#include "platform/ui/file_drop.h"
#include "platform/ui/internal.h"
#include "platform/ui/messagebox.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

InstanceLock lock;
int listener = -1;
QPointer<QSocketNotifier> listening;
InstanceRequests requests;

// The running instance listens on a named pipe beside its lock; what a second start
// writes there is described in instance_requests.h.
std::string pipePath() {
    return lock.lockPath() + ".fifo";
}

void refuse(const std::string& file, const std::string& why) {
    // Load game's own words, and why the file never reached the running program.
    const std::string text = "Could not open " + file + ": " + why;
    messageBox(nullptr, text.c_str(), "Tallowmere Chess", MB_OK | MB_ICONWARNING);
}

// The running instance's pipe for writing, or -1. It listens only once its window is
// up; a file to hand over is worth waiting a few seconds for that, a plain start is not.
int openPipe(bool wait) {
    constexpr int ATTEMPTS = 100;
    for (int attempt = 0;; ++attempt) {
        const int writer = open(pipePath().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0 || !wait || attempt == ATTEMPTS || (errno != ENXIO && errno != ENOENT)) {
            return writer;
        }
        usleep(50 * 1000);
    }
}

} // namespace

bool claimSingleInstance(const std::vector<std::string>& files) {
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
    // Each file with the bytes that ask for it.
    std::vector<std::pair<std::string, std::string>> requests;
    for (const std::string& file : files) {
        std::string request, why;
        if (openRequest(file, &request, &why)) {
            requests.emplace_back(file, request);
        } else {
            refuse(file, why);
        }
    }
    const int writer = openPipe(!requests.empty());
    if (writer < 0) {
        if (!requests.empty()) {
            refuse(requests.front().first, "Tallowmere Chess runs already but does not answer");
        }
        return false;
    }
    if (requests.empty()) {
        const char request = 'R';
        if (write(writer, &request, 1) != 1) {
            // A full pipe holds requests enough to bring the window forward.
        }
    }
    for (const auto& [file, request] : requests) {
        if (write(writer, request.data(), request.size()) != ssize_t(request.size())) {
            refuse(file, "the running Tallowmere Chess takes no more requests now");
        }
    }
    close(writer);
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
        char bytes[512];
        for (ssize_t got; (got = read(listener, bytes, sizeof bytes)) > 0;) {
            requests.feed(bytes, size_t(got));
        }
        setForegroundWindow(window);
        for (std::string& file : requests.takePaths()) {
            postDroppedFiles(window, {std::move(file)});
        }
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
