#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

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
    if (geteuid() == 0)
        GTEST_SKIP() << "root may delete in a read-only folder";
    mkdir((root + "/locked").c_str(), 0755);
    Touch("locked/a.jpg");
    chmod((root + "/locked").c_str(), 0555);
    EXPECT_FALSE(DeleteFilesInDir(root.c_str()));
    EXPECT_TRUE(Exists("locked/a.jpg"));
    chmod((root + "/locked").c_str(), 0755);
}

TEST_F(TempTree, FontFileExistsLooksInTheFontsFolder)
{
    Touch("simhei.TTF");
    setenv("QUOBRIX_FONTS_DIR", root.c_str(), 1);
    EXPECT_EQ(GetWindowsFontsDir(), root + "/");
    EXPECT_TRUE(FontFileExists("simhei.TTF"));
    EXPECT_FALSE(FontFileExists("simsun.ttc"));
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
    const std::string file = FindCjkFontFile();
    ASSERT_FALSE(file.empty()) << "fonts-wqy-zenhei is part of the setup";
    EXPECT_EQ(access(file.c_str(), R_OK), 0);
}
