#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

std::string InstanceLock::DefaultPath()
{
    // Tests run their own instances beside a user's without meeting it.
    const char* over = getenv("QUOBRIX_LOCK_FILE");
    if (over && *over)
        return over;
    const char* runtimeDir = getenv("XDG_RUNTIME_DIR");
    if (runtimeDir && *runtimeDir)
        return std::string(runtimeDir) + "/quobrix.lock";
    return "/tmp/quobrix-" + std::to_string(getuid()) + ".lock";
}

InstanceLock::InstanceLock(std::string path)
    : m_path(std::move(path))
{
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool InstanceLock::Acquire()
{
    if (m_fd >= 0)
        return true;
    int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}
