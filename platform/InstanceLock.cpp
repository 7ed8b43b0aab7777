#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string InstanceLock::DefaultPath()
{
    // Tests run their own instances beside a user's without meeting it.
    const char* over = getenv("QUOBRIX_LOCK_FILE");
    if (over && *over)
        return over;
    const char* runtimeDir = getenv("XDG_RUNTIME_DIR");
    if (runtimeDir && *runtimeDir)
        return std::string(runtimeDir) + "/quobrix.lock";
    return FallbackPath();
}

std::string InstanceLock::FallbackPath()
{
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
    int fd = Open(m_path);
    if (fd < 0 && m_path != FallbackPath())
        fd = Open(FallbackPath());
    if (fd < 0) {
        std::fprintf(stderr, "quobrix: cannot make the instance lock %s: %s; running without it\n", m_path.c_str(),
                     std::strerror(errno));
        return true;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

int InstanceLock::Open(const std::string& path)
{
    return open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}
