#include "app/CQX_UserFolders.h"

#include "tests/taobao/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// An older version's tree (bin/ beside datafiles/data/) and a home below the same folder.
class UserFoldersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(root.path() / "old/bin");
        fs::create_directories(root.path() / "old/datafiles/data");
        folders.dataRoot = root.file("old/datafiles");
        folders.configDir = root.file("home/config/quobrix");
        folders.dataDir = root.file("home/data/quobrix");
        folders.cacheDir = root.file("home/cache/quobrix");
        folders.stateDir = root.file("home/state/quobrix");
    }
    std::string programDir() const { return root.file("old/bin"); }
    void writeOld(const std::string& name, const std::string& text)
    {
        TempDir::write(name == "config.ini" ? root.file("old/bin/config.ini") : root.file("old/datafiles/data/" + name),
                       text);
    }

    TempDir root;
    AppFolders folders;
};

}

TEST_F(UserFoldersTest, FirstStartMakesTheFoldersAndBringsTheOldFilesOver)
{
    writeOld("config.ini", "[UserInfo]\r\nUserID=77\r\n");
    writeOld("favorite.xml", "<items_list/>");
    writeOld("r.zip", "PK");
    const std::vector<std::string> problems = CQX_UserFolders::Prepare(folders, programDir());
    EXPECT_TRUE(problems.empty());
    for (const std::string& dir : {folders.stateDir, folders.cacheDir + "/img", folders.cacheDir + "/recommend"})
        EXPECT_TRUE(fs::is_directory(dir)) << dir;
    EXPECT_EQ(TempDir::read(folders.configDir + "/config.ini"), "[UserInfo]\r\nUserID=77\r\n");
    EXPECT_EQ(TempDir::read(folders.dataDir + "/favorite.xml"), "<items_list/>");
    EXPECT_EQ(TempDir::read(folders.dataDir + "/r.zip"), "PK");
    EXPECT_FALSE(fs::exists(folders.dataDir + "/shop.xml")) << "nothing is made up for a file that was not there";
    EXPECT_TRUE(fs::exists(root.file("old/bin/config.ini"))) << "the old files stay where they were";
    EXPECT_TRUE(fs::exists(root.file("old/datafiles/data/favorite.xml")));
}

TEST_F(UserFoldersTest, OldFilesComeOverOnceAndNeverOverAUsersFile)
{
    CQX_UserFolders::Prepare(folders, programDir());
    writeOld("favorite.xml", "<items_list>old</items_list>");
    CQX_UserFolders::Prepare(folders, programDir());
    EXPECT_FALSE(fs::exists(folders.dataDir + "/favorite.xml")) << "a later start brings nothing over";

    fs::remove_all(folders.dataDir);
    fs::create_directories(folders.dataDir);
    TempDir::write(folders.dataDir + "/favorite.xml", "<items_list>mine</items_list>");
    CQX_UserFolders::MigrateOldFiles(folders, programDir(), false, true);
    EXPECT_EQ(TempDir::read(folders.dataDir + "/favorite.xml"), "<items_list>mine</items_list>");
}

TEST_F(UserFoldersTest, AFolderThatCannotBeMadeOrWrittenIsNamed)
{
    TempDir::write(root.file("home/data"), "a file where the data folder's parent should be");
    const std::vector<std::string> problems = CQX_UserFolders::Prepare(folders, programDir());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find(folders.dataDir), std::string::npos) << problems[0];
    std::string reason;
    EXPECT_FALSE(CQX_UserFolders::CanWrite(folders.dataDir, reason));
    EXPECT_TRUE(CQX_UserFolders::CanWrite(folders.configDir, reason)) << reason;
}
