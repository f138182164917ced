#pragma once
// The single-instance lock: one running program per root (or per user without a root).

#include <string>

namespace platform {

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock(); // releases the lock
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds the lock of the same folder.
    bool acquire();
    bool isHeld() const { return m_descriptor >= 0; }
    // The file the lock lives in; a running instance also listens beside it.
    std::string lockPath() const;

private:
    int m_descriptor = -1;
};

} // namespace platform
