#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

class TempTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qx-fs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { system(("rm -rf '" + root + "'").c_str()); }

    void Touch(const std::string& relative) { std::ofstream(root + "/" + relative) << "x"; }
    bool Exists(const std::string& relative) const
    {
        struct stat info;
        return stat((root + "/" + relative).c_str(), &info) == 0;
    }

    // Root may delete in a read-only folder: as root, the deletion runs in
    // a child that has become the user "nobody".
    bool DeleteAsAnOrdinaryUser(const std::string& dir)
    {
        if (geteuid() != 0)
            return DeleteFilesInDir(dir.c_str());
        chmod(dir.c_str(), 0755);
        const pid_t child = fork();
        if (child == 0) {
            if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
                _exit(kCouldNotDropRoot);
            _exit(DeleteFilesInDir(dir.c_str()) ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), kCouldNotDropRoot);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    static constexpr uid_t kNobody = 65534;
    static constexpr int kCouldNotDropRoot = 2;
    std::string root;
};

}

TEST_F(TempTree, DeleteFilesInDirEmptiesSubfoldersButKeepsThem)
{
    mkdir((root + "/sub").c_str(), 0755);
    mkdir((root + "/sub/deeper").c_str(), 0755);
    Touch("a.jpg");
    Touch("sub/b.jpg");
    Touch("sub/deeper/c.jpg");
    chmod((root + "/a.jpg").c_str(), 0444);

    EXPECT_TRUE(DeleteFilesInDir((root + "/").c_str()));
    EXPECT_FALSE(Exists("a.jpg"));
    EXPECT_FALSE(Exists("sub/b.jpg"));
    EXPECT_FALSE(Exists("sub/deeper/c.jpg"));
    EXPECT_TRUE(Exists("sub"));
    EXPECT_TRUE(Exists("sub/deeper"));
}

TEST_F(TempTree, DeleteFilesInDirTreatsMissingAndNullAsSuccess)
{
    EXPECT_TRUE(DeleteFilesInDir(nullptr));
    EXPECT_TRUE(DeleteFilesInDir((root + "/no-such-folder").c_str()));
}

TEST_F(TempTree, DeleteFilesInDirStopsAtFirstFailure)
{
    mkdir((root + "/locked").c_str(), 0755);
    Touch("locked/a.jpg");
    chmod((root + "/locked").c_str(), 0555);
    EXPECT_FALSE(DeleteAsAnOrdinaryUser(root));
    EXPECT_TRUE(Exists("locked/a.jpg"));
    chmod((root + "/locked").c_str(), 0755);
}

TEST_F(TempTree, TheFontsFolderHoldsTheClassicFontFiles)
{
    Touch("simhei.TTF");
    setenv("QUOBRIX_FONTS_DIR", root.c_str(), 1);
    EXPECT_EQ(GetWindowsFontsDir(), root + "/");
    EXPECT_TRUE(IsRegularFile(GetWindowsFontsDir() + "simhei.TTF"));
    EXPECT_FALSE(IsRegularFile(GetWindowsFontsDir() + "simsun.ttc"));
    EXPECT_FALSE(IsRegularFile(GetWindowsFontsDir())) << "a folder is no font file";
    unsetenv("QUOBRIX_FONTS_DIR");
}

TEST(FileSystem, ModuleDirIsTheExecutablesFolder)
{
    const std::string dir = GetModuleDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '/');
    EXPECT_EQ(access((dir + "/test_platform").c_str(), X_OK), 0);
}

TEST(FileSystem, FindsAChineseFont)
{
    const std::vector<std::string> files = FindCjkFontFiles();
    ASSERT_FALSE(files.empty()) << "fonts-wqy-zenhei is part of the setup";
    for (const std::string& file : files)
        EXPECT_EQ(access(file.c_str(), R_OK), 0) << file;
}

TEST_F(TempTree, AChineseFontInTheUsersOwnFolderIsFound)
{
    const std::vector<std::string> installed = FindCjkFontFiles();
    ASSERT_FALSE(installed.empty());
    const std::string own = root + "/.local/share/fonts/mine.ttc";
    ASSERT_EQ(system(("mkdir -p '" + root + "/.local/share/fonts' && cp '" + installed.front() + "' '" + own + "'").c_str()), 0);
    const std::string home = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", root.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    const std::vector<std::string> found = FindCjkFontFiles();
    setenv("HOME", home.c_str(), 1);
    EXPECT_NE(std::find(found.begin(), found.end(), own), found.end());
}
