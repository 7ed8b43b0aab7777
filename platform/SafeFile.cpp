#include "platform/SafeFile.h"

#include "platform/Log.h"
#include "platform/UserNotice.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::atomic<bool> g_anyFailed{false};

std::string Reason(const char* step)
{
    return std::string(step) + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The rename itself is only durable once the folder's entry is on disk.
void SyncFolder(const std::string& path)
{
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool WriteTemporary(const std::string& temporary, const std::string& bytes, std::string& error)
{
    // Readable by the user alone: the settings hold the gateway's secret, the
    // lists what the user browsed.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = Reason("cannot create");
        return false;
    }
    bool written = WriteAll(fd, bytes);
    if (!written)
        error = Reason("cannot write");
    else if (::fsync(fd) != 0) {
        error = Reason("cannot sync");
        written = false;
    }
    if (::close(fd) != 0 && written) {
        error = Reason("cannot close");
        written = false;
    }
    return written;
}

}

bool SafeFile::Write(const std::string& path, const std::string& bytes, std::string& error)
{
    const std::string temporary = path + ".tmp";
    if (WriteTemporary(temporary, bytes, error)) {
        if (std::rename(temporary.c_str(), path.c_str()) == 0) {
            SyncFolder(path);
            return true;
        }
        error = Reason("cannot replace");
    }
    std::remove(temporary.c_str());
    return false;
}

bool SafeFile::Save(const std::string& path, const std::string& bytes)
{
    std::string error;
    if (Write(path, bytes, error)) {
        Log::Info("saved " + path);
        return true;
    }
    ReportFailure(path, error);
    return false;
}

void SafeFile::ReportFailure(const std::string& path, const std::string& reason)
{
    g_anyFailed.store(true);
    Log::Error("could not save " + path + " (" + reason + "); the old file is kept");
    UserNotice::Post("无法保存文件 " + path + "\n（" + reason + "）\n原来的文件保持不变。请检查磁盘空间和文件夹的写入权限。");
}

bool SafeFile::AnyFailed()
{
    return g_anyFailed.load();
}
