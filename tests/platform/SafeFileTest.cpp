#include "platform/SafeFile.h"

#include "platform/UserNotice.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/taobao/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

class NoticeRecorder
{
public:
    NoticeRecorder()
    {
        UserNotice::SetSink([this](const std::string& text) { notices.push_back(text); });
    }
    ~NoticeRecorder() { UserNotice::SetSink(nullptr); }
    std::vector<std::string> notices;
};

}

TEST(SafeFile, ReplacesTheFileWholeAndLeavesNoTemporary)
{
    TempDir dir;
    const std::string path = dir.file("config.ini");
    TempDir::write(path, "old");
    std::string error;
    ASSERT_TRUE(SafeFile::Write(path, "new text", error)) << error;
    EXPECT_EQ(TempDir::read(path), "new text");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    using std::filesystem::perms;
    EXPECT_EQ(std::filesystem::status(path).permissions() & perms::all, perms::owner_read | perms::owner_write)
        << "the user's files are the user's alone";
}

TEST(SafeFile, AWriteCutShortKeepsTheOldFileAndSaysWhy)
{
    TempDir dir;
    const std::string path = dir.file("favorite.xml");
    TempDir::write(path, "<items_list>kept</items_list>");
    std::string error;
    {
        FileSizeLimit fullDisk(16);
        EXPECT_FALSE(SafeFile::Write(path, std::string(4096, 'x'), error));
    }
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_EQ(TempDir::read(path), "<items_list>kept</items_list>");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << "the half-written temporary is removed";
}

TEST(SafeFile, AFailedSaveIsToldToTheUserAndCounted)
{
    TempDir dir;
    TempDir::write(dir.file("blocker"), "a file where a folder should be");
    const std::string path = dir.file("blocker/shop.xml");
    NoticeRecorder recorder;
    EXPECT_FALSE(SafeFile::Save(path, "<shops/>"));
    ASSERT_EQ(recorder.notices.size(), 1u);
    EXPECT_NE(recorder.notices[0].find(path), std::string::npos) << "the notice names the file";
    EXPECT_NE(recorder.notices[0].find("cannot create"), std::string::npos) << recorder.notices[0];
    EXPECT_TRUE(SafeFile::AnyFailed());
}
