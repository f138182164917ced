#include "platform/kernel/instance.h"

#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

InstanceLock::~InstanceLock() {
    if (m_descriptor >= 0) {
        close(m_descriptor);
    }
}

std::string InstanceLock::lockPath() const {
    return runtimeFolder() + "TallowmereChess.lock";
}

bool InstanceLock::acquire() {
    if (m_descriptor >= 0) {
        return true;
    }
    const std::string path = lockPath();
    createFolders(path.substr(0, path.rfind('/')));
    // flock dies with the process, so a crashed instance never blocks the next start.
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return false;
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    return true;
}

} // namespace platform
