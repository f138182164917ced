#include "platform/kernel/instance.h"

#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string withoutSlash(const std::string& folder) {
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

// A folder in a place every user writes to is only safe when it is this user's alone:
// anyone else could otherwise hold, replace or remove the lock in it.
bool makePrivateFolder(const std::string& folder, std::string* failure) {
    const std::string path = withoutSlash(folder);
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        *failure = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
        *failure = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(status.st_mode)) {
        *failure = path + " is not a folder";
    } else if (status.st_uid != geteuid()) {
        *failure = path + " belongs to another user";
    } else if ((status.st_mode & 077) != 0) {
        *failure = path + " is open to other users";
    } else {
        return true;
    }
    return false;
}

bool sameFile(int descriptor, const std::string& path) {
    struct stat held {
    }, named{};
    return fstat(descriptor, &held) == 0 && stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

InstanceLock::~InstanceLock() {
    release();
}

void InstanceLock::release() {
    if (m_descriptor < 0) {
        return;
    }
    // Removed while still locked: a start that opened the old file in between finds it
    // gone once it holds it, and tries again with a new one.
    unlink(m_heldPath.c_str());
    close(m_descriptor);
    m_descriptor = -1;
}

std::string InstanceLock::lockPath() const {
    return runtimeFolder() + "TallowmereChess.lock";
}

LockResult InstanceLock::acquire() {
    if (m_descriptor >= 0) {
        return LockResult::Acquired;
    }
    m_failure.clear();
    const std::string folder = runtimeFolder();
    if (folder == userTemporaryFolder()) {
        if (!makePrivateFolder(folder, &m_failure)) {
            return LockResult::Failed;
        }
    } else {
        createFolders(withoutSlash(folder));
    }
    const std::string path = lockPath();
    for (int attempt = 0; attempt < 3; ++attempt) {
        // flock dies with the process, so a crashed instance never blocks the next start.
        const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor < 0) {
            m_failure = "cannot open " + path + ": " + std::strerror(errno);
            return LockResult::Failed;
        }
        if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            close(descriptor);
            if (error == EWOULDBLOCK) {
                return LockResult::HeldElsewhere;
            }
            m_failure = "cannot lock " + path + ": " + std::strerror(error);
            return LockResult::Failed;
        }
        if (sameFile(descriptor, path)) {
            m_descriptor = descriptor;
            m_heldPath = path;
            return LockResult::Acquired;
        }
        close(descriptor);
    }
    m_failure = path + " keeps changing";
    return LockResult::Failed;
}

} // namespace platform
