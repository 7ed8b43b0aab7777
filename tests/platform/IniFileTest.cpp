#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void TearDown() override { unlink(path.c_str()); }
    std::string Content() const
    {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string path = "/tmp/qx-ini-" + std::to_string(getpid()) + ".ini";
};

}

TEST_F(IniFileTest, MissingFileGivesDefaults)
{
    IniFile ini(path);
    EXPECT_EQ(ini.GetInt("Request", "LastReturnMainVersion", 2), 2);
    EXPECT_EQ(ini.GetString("UserInfo", "UserID", "none"), "none");
}

TEST_F(IniFileTest, WritesAreReadBackCaseInsensitively)
{
    IniFile written(path);
    written.Set("Request", "LastRequestTime", "4294967295");
    written.Set("UserInfo", "UserID", "12345");
    written.Set("Request", "NextRequestTime", "7");
    std::string error;
    ASSERT_TRUE(written.Save(error)) << error;
    const IniFile ini(path);
    EXPECT_EQ(ini.GetInt("request", "lastrequesttime", 0), 4294967295LL);
    EXPECT_EQ(ini.GetInt("UserInfo", "UserID", 0), 12345);
    EXPECT_EQ(ini.GetInt("Request", "NextRequestTime", 0), 7);
    EXPECT_EQ(Content(), "[Request]\r\nLastRequestTime=4294967295\r\nNextRequestTime=7\r\n[UserInfo]\r\nUserID=12345\r\n");
}

TEST_F(IniFileTest, RewritingAKeyKeepsEverythingElse)
{
    std::ofstream(path) << "; notes\n[UserInfo]\nUserID=1\nOther = keep\n\n[Extra]\nA=b\n";
    IniFile written(path);
    written.Set("UserInfo", "UserID", "2");
    written.Set("UserInfo", "KeepUpgradeNotify", "0");
    std::string error;
    ASSERT_TRUE(written.Save(error)) << error;
    const IniFile ini(path);
    EXPECT_EQ(ini.GetInt("UserInfo", "UserID", 0), 2);
    EXPECT_EQ(ini.GetString("UserInfo", "Other", ""), "keep");
    EXPECT_EQ(ini.GetString("Extra", "A", ""), "b");
    EXPECT_EQ(ini.GetInt("UserInfo", "KeepUpgradeNotify", 1), 0);
}

TEST_F(IniFileTest, NonNumericValueGivesTheDefault)
{
    std::ofstream(path) << "[Request]\nLastReturnMainVersion=abc\nLastReturnSubVersion=-3x\n";
    IniFile ini(path);
    EXPECT_EQ(ini.GetInt("Request", "LastReturnMainVersion", 2), 2);
    EXPECT_EQ(ini.GetInt("Request", "LastReturnSubVersion", 6), -3);
}
