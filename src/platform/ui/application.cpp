#include "platform/ui/application.h"

#include "platform/kernel/paths.h"
#include "platform/ui/accelerators.h"
#include "platform/ui/internal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <memory>
#include <vector>

namespace platform {
namespace {

// Never destroyed by static destruction: Qt must go before the libraries it uses.
QApplication* application = nullptr;
std::vector<std::string> remainingArguments;
bool loopRunning = false;
// A quit posted while no message loop ran, for the next loop.
bool quitPending = false;
int pendingExitCode = 0;

// The value of an option given as "--name VALUE" or "--name=VALUE"; argv index advanced.
bool optionValue(const std::string& argument, const std::string& name, int& index, int argc,
                 char** argv, std::string* value, bool* present) {
    if (argument == name) {
        *present = true;
        if (index + 1 >= argc) {
            return false;
        }
        *value = argv[++index];
        return true;
    }
    if (argument.compare(0, name.size() + 1, name + "=") == 0) {
        *present = true;
        *value = argument.substr(name.size() + 1);
        return true;
    }
    return true;
}

} // namespace

bool initApplication(int& argc, char** argv, std::string* error) {
    std::string problem;
    std::vector<char*> kept;
    if (argc > 0) {
        kept.push_back(argv[0]);
    }
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string value;
        bool isScale = false;
        bool isRoot = false;
        if (!optionValue(argument, "--scale", i, argc, argv, &value, &isScale)) {
            problem = "--scale needs a whole number from 1 to 8";
            continue;
        }
        if (isScale) {
            char* end = nullptr;
            const long scale = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || scale < 1 || scale > 8) {
                problem = "--scale needs a whole number from 1 to 8, not \"" + value + "\"";
            } else {
                setWindowScale(int(scale));
            }
            continue;
        }
        if (!optionValue(argument, "--root", i, argc, argv, &value, &isRoot) ||
            (isRoot && value.empty())) {
            problem = "--root needs a folder";
            continue;
        }
        if (isRoot) {
            setRootFolder(value);
            continue;
        }
        kept.push_back(argv[i]);
        remainingArguments.push_back(argument);
    }
    for (size_t i = 0; i < kept.size(); ++i) {
        argv[i] = kept[i];
    }
    argc = int(kept.size());
    if (!application && !QApplication::instance()) {
        application = new QApplication(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Tallowmere Chess"));
    }
    if (error) {
        *error = problem;
    }
    return problem.empty();
}

std::string commandLine() {
    std::string line;
    for (const std::string& argument : remainingArguments) {
        if (!line.empty()) {
            line += ' ';
        }
        line += '"' + argument + '"';
    }
    return line;
}

void shutdownApplication() {
    releaseSounds();
    // A popup menu is a top-level widget and the child of its window too: deleting the
    // window deletes it, so each is looked at again before it is deleted.
    std::vector<QPointer<QWidget>> widgets;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        widgets.emplace_back(widget);
    }
    for (const QPointer<QWidget>& widget : widgets) {
        delete widget.data();
    }
    delete application;
    application = nullptr;
}

int runMessageLoop(Window* window, Accelerators* accelerators) {
    attachAccelerators(window, accelerators);
    if (quitPending) {
        quitPending = false;
        return pendingExitCode;
    }
    loopRunning = true;
    const int exitCode = QApplication::exec();
    loopRunning = false;
    return exitCode;
}

void quitMessageLoop(int exitCode) {
    if (loopRunning) {
        QCoreApplication::exit(exitCode);
        return;
    }
    // Qt would remember the quit and end the next modal dialog's loop at once instead.
    quitPending = true;
    pendingExitCode = exitCode;
}

void processMessages(int milliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (elapsed.elapsed() < milliseconds) {
            QThread::msleep(1);
        }
    } while (elapsed.elapsed() < milliseconds);
}

} // namespace platform
