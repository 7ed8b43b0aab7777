#pragma once
#include <string>

// Admits one running instance per user: a lock file held with flock for the
// life of the process. The kernel drops the lock when the process ends, even
// after a crash, so a stale file never keeps the program from starting.
class InstanceLock
{
public:
    // $QUOBRIX_LOCK_FILE, else $XDG_RUNTIME_DIR/quobrix.lock, else
    // FallbackPath().
    static std::string DefaultPath();
    // Where the lock goes when its own place cannot hold a file.
    static std::string FallbackPath();

    explicit InstanceLock(std::string path = DefaultPath());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock; false only when a running
    // copy holds it. A lock file that can be made nowhere is no reason to
    // refuse the user: the program then runs unguarded, saying so on stderr.
    bool Acquire();

private:
    // The open lock file, -1 when it cannot be made there.
    static int Open(const std::string& path);

    std::string m_path;
    int m_fd = -1;
};
