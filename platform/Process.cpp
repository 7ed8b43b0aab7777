#include "platform/Process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

extern char** environ;

namespace {

// Children are never waited for by their callers; reaping the finished ones
// at every launch keeps them from lingering as zombies.
std::mutex g_childrenLock;
std::vector<pid_t> g_children;

void ReapFinishedChildren()
{
    std::lock_guard<std::mutex> guard(g_childrenLock);
    for (auto it = g_children.begin(); it != g_children.end();) {
        if (waitpid(*it, nullptr, WNOHANG) != 0)
            it = g_children.erase(it);
        else
            ++it;
    }
}

void Remember(pid_t child)
{
    std::lock_guard<std::mutex> guard(g_childrenLock);
    g_children.push_back(child);
}

}

std::vector<std::string> Process::SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

bool Process::Launch(const std::string& commandLine)
{
    return Spawn(SplitCommandLine(commandLine));
}

bool Process::Spawn(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return false;
    ReapFinishedChildren();
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return false;
    Remember(child);
    return true;
}

bool Process::IsOnPath(const std::string& program)
{
    const char* path = getenv("PATH");
    if (!path)
        return false;
    std::string dirs(path);
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}
