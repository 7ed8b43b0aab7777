#pragma once
#include <string>

// Admits one running instance per user: a lock file held with flock for the
// life of the process. The kernel drops the lock when the process ends, even
// after a crash, so a stale file never keeps the program from starting.
class InstanceLock
{
public:
    // $QUOBRIX_LOCK_FILE, else $XDG_RUNTIME_DIR/quobrix.lock, else
    // /tmp/quobrix-<uid>.lock.
    static std::string DefaultPath();

    explicit InstanceLock(std::string path = DefaultPath());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock; false when another holds it.
    bool Acquire();

private:
    std::string m_path;
    int m_fd = -1;
};
