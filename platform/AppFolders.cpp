#include "platform/AppFolders.h"

#include "platform/FileSystem.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <mutex>

namespace {

const char* const kProgramFolder = "quobrix";

std::mutex g_layoutLock;
std::shared_ptr<const AppFolders> g_layout;

std::shared_ptr<const AppFolders> CurrentLayout()
{
    std::lock_guard<std::mutex> guard(g_layoutLock);
    return g_layout;
}

std::string HomeDir()
{
    const char* home = getenv("HOME");
    if (home && *home == '/')
        return home;
    if (const passwd* entry = getpwuid(getuid()))
        return entry->pw_dir;
    return "/tmp";
}

// An XDG variable holds an absolute path; anything else is to be ignored.
std::string BaseDir(const char* variable, const char* fallbackBelowHome)
{
    const char* value = getenv(variable);
    std::string base = value && *value == '/' ? value : HomeDir() + "/" + fallbackBelowHome;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/" + kProgramFolder;
}

bool IsDirectory(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ParentOf(const std::string& dir)
{
    const size_t slash = dir.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : dir.substr(0, slash);
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

}

AppFolders AppFolders::ForUser(const std::string& programDir)
{
    AppFolders folders;
    folders.dataRoot = FindDataRoot(programDir);
    folders.configDir = BaseDir("XDG_CONFIG_HOME", ".config");
    folders.dataDir = BaseDir("XDG_DATA_HOME", ".local/share");
    folders.cacheDir = BaseDir("XDG_CACHE_HOME", ".cache");
    folders.stateDir = BaseDir("XDG_STATE_HOME", ".local/state");
    return folders;
}

std::string AppFolders::FindDataRoot(const std::string& programDir)
{
    const char* over = getenv("CEGUI_SAMPLE_DATAPATH");
    if (over && *over)
        return over;
    const std::string prefix = ParentOf(programDir);
    const std::string buildTree = prefix + "/datafiles";
    if (IsDirectory(buildTree))
        return buildTree;
    return prefix + "/share/" + kProgramFolder;
}

void AppFolders::Use(const AppFolders& folders)
{
    auto layout = std::make_shared<const AppFolders>(folders);
    std::lock_guard<std::mutex> guard(g_layoutLock);
    g_layout = std::move(layout);
}

void AppFolders::UseClassic()
{
    std::lock_guard<std::mutex> guard(g_layoutLock);
    g_layout.reset();
}

std::string AppFolders::Resolve(const std::string& name)
{
    const std::shared_ptr<const AppFolders> layout = CurrentLayout();
    return layout ? layout->Map(name) : name;
}

std::string AppFolders::ConfigFile()
{
    const std::shared_ptr<const AppFolders> layout = CurrentLayout();
    return (layout ? layout->configDir : GetModuleDir()) + "/config.ini";
}

std::string AppFolders::Map(const std::string& name) const
{
    const std::string root = kClassicRoot;
    if (name == root)
        return dataRoot;
    if (!StartsWith(name, root + "/"))
        return name;
    const std::string rest = name.substr(root.size() + 1);
    if (StartsWith(rest, "data/"))
        return dataDir + "/" + rest.substr(5);
    if (rest == "img" || rest == "recommend" || StartsWith(rest, "img/") || StartsWith(rest, "recommend/"))
        return cacheDir + "/" + rest;
    return dataRoot + "/" + rest;
}
