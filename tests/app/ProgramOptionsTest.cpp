// The built program answered from the command line: --help, --version and a
// wrong option, with no display, a private home and the program in a folder
// of its own, so anything it wrote would show up there.
#include "app/CommandLine.h"

#include <QuobrixVersion.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Outcome
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ProgramOptions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* build = std::getenv("QX_BUILD_DIR");
        ASSERT_NE(build, nullptr);
        m_work = fs::temp_directory_path() / ("qx-options-" + std::to_string(getpid()));
        fs::remove_all(m_work);
        m_root = m_work / "root";
        for (const char* dir : {"bin", "cwd", "home", "run"})
            fs::create_directories(m_root / dir);
        fs::create_directories(m_work / "output");
        // A copy, not a link: the program looks for its folder through
        // /proc/self/exe, which names the file it was started from.
        std::error_code linked;
        fs::create_hard_link(fs::path(build) / "bin/quobrix", m_root / "bin/quobrix", linked);
        if (linked)
            fs::copy_file(fs::path(build) / "bin/quobrix", m_root / "bin/quobrix");
    }

    void TearDown() override { fs::remove_all(m_work); }

    Outcome Run(const std::vector<std::string>& arguments)
    {
        const std::string program = (m_root / "bin/quobrix").string();
        const std::string home = (m_root / "home").string();
        std::vector<std::string> environment = {
            "PATH=/usr/bin:/bin",
            "HOME=" + home,
            "XDG_CONFIG_HOME=" + home + "/.config",
            "XDG_DATA_HOME=" + home + "/.local/share",
            "XDG_CACHE_HOME=" + home + "/.cache",
            "XDG_STATE_HOME=" + home + "/.local/state",
            "XDG_RUNTIME_DIR=" + (m_root / "run").string(),
            "QUOBRIX_LOCK_FILE=" + (m_root / "run/quobrix.lock").string(),
        };
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        const fs::path outPath = m_work / "output/out", errPath = m_work / "output/err";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, (m_root / "cwd").c_str());
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << program;
            return outcome;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = ReadAll(outPath);
        outcome.err = ReadAll(errPath);
        return outcome;
    }

    // Every file below the program's folder, its home and its working folder.
    std::vector<std::string> FilesWritten() const
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_root))
            if (!entry.is_directory() && entry.path() != m_root / "bin/quobrix")
                files.push_back(fs::relative(entry.path(), m_root).string());
        return files;
    }

    fs::path m_work;
    fs::path m_root;
};

}

TEST_F(ProgramOptions, HelpAndVersionAnswerWithoutADisplayAndWriteNothing)
{
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, CommandLine::Usage());
    EXPECT_EQ(help.err, "");

    const Outcome version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("quobrix ") + QuobrixVersion::kString + "\n");
    EXPECT_EQ(version.err, "");

    EXPECT_EQ(Run({"--verbose", "--help"}).exitCode, 0);
    EXPECT_EQ(FilesWritten(), std::vector<std::string>{});
}

TEST_F(ProgramOptions, AnUnknownOptionIsAnErrorWithUsage)
{
    const Outcome bogus = Run({"--bogus"});
    EXPECT_EQ(bogus.exitCode, 2);
    EXPECT_EQ(bogus.out, "");
    EXPECT_EQ(bogus.err, "quobrix: unknown option: --bogus\n" + CommandLine::Usage());
    EXPECT_EQ(FilesWritten(), std::vector<std::string>{});
}
