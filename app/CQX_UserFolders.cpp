#include "app/CQX_UserFolders.h"

#include "platform/Log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

const char* const CQX_UserFolders::kOldDataFiles[5] = {"favorite.xml", "shop.xml", "history.xml", "recommend.xml",
                                                       "r.zip"};

namespace {

// True when the folder had to be made now.
bool MakeFolder(const std::string& dir, std::string& reason)
{
    std::error_code error;
    if (fs::is_directory(dir, error))
        return false;
    if (!fs::create_directories(dir, error) && error)
        reason = "cannot create the folder: " + error.message();
    return !error;
}

void CopyIfFree(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    if (!fs::is_regular_file(from, error) || fs::exists(to, error))
        return;
    if (fs::copy_file(from, to, error))
        Log::Info("brought " + from.string() + " over to " + to.string());
    else
        Log::Error("could not bring " + from.string() + " over to " + to.string() + ": " + error.message());
}

std::string Problem(const std::string& dir, const std::string& reason)
{
    return "文件夹 " + dir + " 无法写入（" + reason + "），在这里保存的内容将会丢失。";
}

}

std::vector<std::string> CQX_UserFolders::Prepare(const AppFolders& folders, const std::string& programDir)
{
    std::string configReason, dataReason, cacheReason, ignored;
    const bool newConfigDir = MakeFolder(folders.configDir, configReason);
    const bool newDataDir = MakeFolder(folders.dataDir, dataReason);
    MakeFolder(folders.cacheDir + "/img", cacheReason);
    MakeFolder(folders.cacheDir + "/recommend", cacheReason);
    MakeFolder(folders.stateDir, ignored);
    MigrateOldFiles(folders, programDir, newConfigDir, newDataDir);

    std::vector<std::string> problems;
    const std::pair<const std::string&, std::string&> checked[] = {
        {folders.configDir, configReason}, {folders.dataDir, dataReason}, {folders.cacheDir, cacheReason}};
    for (const auto& [dir, reason] : checked) {
        if (reason.empty() && CanWrite(dir, reason))
            continue;
        Log::Error("folder " + dir + " cannot be written: " + reason);
        problems.push_back(Problem(dir, reason));
    }
    return problems;
}

void CQX_UserFolders::MigrateOldFiles(const AppFolders& folders, const std::string& programDir, bool newConfigDir,
                                      bool newDataDir)
{
    if (newConfigDir)
        CopyIfFree(fs::path(programDir) / "config.ini", fs::path(folders.configDir) / "config.ini");
    if (!newDataDir)
        return;
    const fs::path oldData = fs::path(programDir).parent_path() / "datafiles" / "data";
    for (const char* name : kOldDataFiles)
        CopyIfFree(oldData / name, fs::path(folders.dataDir) / name);
}

bool CQX_UserFolders::CanWrite(const std::string& dir, std::string& reason)
{
    std::error_code error;
    if (!fs::is_directory(dir, error)) {
        reason = "no such folder";
        return false;
    }
    const std::string probe = dir + "/.write-test-" + std::to_string(getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    // A full disk takes the name but not the first block.
    const bool written = ::write(fd, "q", 1) == 1 && ::fsync(fd) == 0;
    if (!written)
        reason = std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return written;
}
