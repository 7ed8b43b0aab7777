#include "service/CQXConfig.h"
#include "service/CQXUpgradeChecker.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <ctime>
#include <fstream>

namespace {

class ConfigTest : public ::testing::Test
{
protected:
    void TearDown() override { unlink(path.c_str()); }
    std::string path = "/tmp/qx-config-" + std::to_string(getpid()) + ".ini";
};

}

TEST_F(ConfigTest, MissingFileGivesDefaults)
{
    CQXConfig config(path);
    EXPECT_EQ(config.GetLastRequestTime(), 0);
    EXPECT_EQ(config.GetNextRequestTime(), 0);
    EXPECT_EQ(config.GetLastReturnMainVersion(), 2);
    EXPECT_EQ(config.GetLastReturnSubVersion(), 6);
    EXPECT_EQ(config.GetUserID(), 0u);
    EXPECT_TRUE(config.GetKeepUpgradeNotify());
}

TEST_F(ConfigTest, LoginIsRecordedSavedAndReadBack)
{
    {
        CQXConfig config(path);
        const int64_t before = static_cast<int64_t>(std::time(nullptr));
        config.RecordLogin(777, 86400, 2, 7);
        EXPECT_GE(config.GetNextRequestTime(), before + 86400);
        config.RecordLogin(0, 0, 2, 7);
        EXPECT_EQ(config.GetUserID(), 777u) << "an answer without a user id keeps the stored one";
        config.SetKeepUpgradeNotify(false);
        config.RecordLogin(0, 86400, 2, 7);
        config.Save();
    }
    CQXConfig reread(path);
    EXPECT_EQ(reread.GetUserID(), 777u);
    EXPECT_EQ(reread.GetLastReturnSubVersion(), 7);
    EXPECT_FALSE(reread.GetKeepUpgradeNotify());
    EXPECT_GT(reread.GetNextRequestTime(), reread.GetLastRequestTime());
}

TEST_F(ConfigTest, TimesAreKeptAsTheirLow32Bits)
{
    std::ofstream(path) << "[Request]\r\nLastRequestTime=4294967295\r\nNextRequestTime=-1\r\n"
                           "[UserInfo]\r\nKeepUpgradeNotify=5\r\n";
    CQXConfig config(path);
    EXPECT_EQ(config.GetLastRequestTime(), 4294967295LL);
    EXPECT_EQ(config.GetNextRequestTime(), 4294967295LL);
    EXPECT_TRUE(config.GetKeepUpgradeNotify());
}

TEST(UpgradeNotice, StoredVersionDecidesWhenNoLoginIsDue)
{
    EXPECT_TRUE(CQXUpgradeChecker::NoticeWanted(false, 2, 7)) << "a newer sub version always asks";
    EXPECT_FALSE(CQXUpgradeChecker::NoticeWanted(false, 3, 0));
    EXPECT_TRUE(CQXUpgradeChecker::NoticeWanted(true, 3, 0));
    EXPECT_FALSE(CQXUpgradeChecker::NoticeWanted(true, 2, 6));
    EXPECT_FALSE(CQXUpgradeChecker::NoticeWanted(true, 1, 9));
}
