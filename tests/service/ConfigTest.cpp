#include "service/CQXConfig.h"
#include "service/CQXUpgradeChecker.h"
#include "tests/support/FileSizeLimit.h"

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

TEST_F(ConfigTest, HandSetSettingsAreReadAndKeptThroughSaves)
{
    std::ofstream(path) << "; my gateway\r\n[Network]\r\nGatewayUrl=https://gw.example/router/rest\r\n"
                           "AppKey=k1\r\nAppSecret=s1\r\nServiceUrl=https://svc.example\r\n"
                           "[Privacy]\r\nSendUsageStatistics=0\r\n";
    {
        CQXConfig config(path);
        const CQXConfig::Network network = config.GetNetwork();
        EXPECT_EQ(network.gatewayUrl, "https://gw.example/router/rest");
        EXPECT_EQ(network.appKey, "k1");
        EXPECT_EQ(network.appSecret, "s1");
        EXPECT_EQ(network.serviceUrl, "https://svc.example");
        EXPECT_FALSE(config.GetSendStatistics());
        setenv(CQXConfig::kSendStatisticsVariable, "1", 1);
        EXPECT_TRUE(config.GetSendStatistics()) << "the variable wins over the file";
        unsetenv(CQXConfig::kSendStatisticsVariable);
        config.RecordLogin(5, 60, 2, 6);
        ASSERT_TRUE(config.Save());
    }
    CQXConfig reread(path);
    EXPECT_EQ(reread.GetUserID(), 5u);
    EXPECT_EQ(reread.GetNetwork().gatewayUrl, "https://gw.example/router/rest") << "a save keeps what the user wrote";
    EXPECT_EQ(reread.GetNetwork().appSecret, "s1");
    EXPECT_FALSE(reread.GetSendStatistics());
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "; my gateway\r");
}

TEST_F(ConfigTest, StatisticsAreOnUnlessTurnedOffAndTheSwitchIsWritten)
{
    {
        CQXConfig config(path);
        EXPECT_TRUE(config.GetSendStatistics());
        EXPECT_EQ(config.GetNetwork().gatewayUrl, "") << "nothing set means the built-in gateway";
        ASSERT_TRUE(config.Save());
    }
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Privacy]\r\nSendUsageStatistics=1\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("GatewayUrl"), std::string::npos) << "defaults are not pinned into the file";
}

TEST_F(ConfigTest, HeldSavesWriteNothingUntilReleased)
{
    CQXConfig config(path);
    config.HoldSaves();
    config.RecordLogin(9, 60, 2, 6);
    EXPECT_TRUE(config.Save());
    EXPECT_NE(access(path.c_str(), F_OK), 0) << "a start that fails before the window leaves no file";
    config.ReleaseSaves();
    EXPECT_EQ(CQXConfig(path).GetUserID(), 9u) << "the held save happens once released";
}

TEST_F(ConfigTest, ASaveThatFailsKeepsTheOldFileAndSaysSo)
{
    std::ofstream(path) << "[UserInfo]\r\nUserID=41\r\n";
    CQXConfig config(path);
    config.RecordLogin(42, 60, 2, 6);
    {
        FileSizeLimit fullDisk(8);
        EXPECT_FALSE(config.Save());
    }
    EXPECT_EQ(CQXConfig(path).GetUserID(), 41u);
}
