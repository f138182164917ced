#pragma once
// The single-instance lock: one running program per root (or per user without a root).

#include <string>

namespace platform {

enum class LockResult {
    Acquired,
    HeldElsewhere, // another process holds the lock of the same folder
    Failed,        // no lock could be made or read: failure() says why
};

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock(); // releases the lock and removes its file
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    LockResult acquire();
    void release();
    bool isHeld() const { return m_descriptor >= 0; }
    // The file the lock lives in; a running instance also listens beside it.
    std::string lockPath() const;
    // Why the last acquire failed, naming the file or folder.
    const std::string& failure() const { return m_failure; }

private:
    int m_descriptor = -1;
    std::string m_heldPath;
    std::string m_failure;
};

} // namespace platform
