#include "platform/Log.h"
#include "platform/NetworkFailure.h"
#include "tests/support/CapturedLog.h"

#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <gtest/gtest.h>

#include <filesystem>

TEST(Log, LinesCarryTheirLevelAndDetailOnlyWhenVerbose)
{
    {
        CapturedLog log;
        ASSERT_TRUE(log.IsOpen());
        Log::Info("quobrix starts");
        Log::Debug("a detail");
        Log::Error("could not save /x/favorite.xml");
        EXPECT_NE(log.Text().find(" I quobrix starts\n"), std::string::npos) << log.Text();
        EXPECT_NE(log.Text().find(" E could not save /x/favorite.xml\n"), std::string::npos);
        EXPECT_EQ(log.Text().find("a detail"), std::string::npos) << "detail needs --verbose";
    }
    CapturedLog verbose(true);
    Log::Debug("a detail");
    EXPECT_NE(verbose.Text().find("a detail"), std::string::npos);
}

TEST(Log, ARefusedFolderIsAnErrorAndLaterLinesGoNowhere)
{
    std::string error;
    EXPECT_FALSE(Log::Open("/proc/no-such-folder", false, error));
    EXPECT_FALSE(error.empty());
    Log::Info("nowhere");  // must not throw or crash
}

TEST(Log, TheFileIsRotatedAndKeepsAFewOlderOnes)
{
    CapturedLog log;
    const std::string line(1000, 'x');
    for (int i = 0; i < 6000; ++i)
        Log::Info(line);
    size_t files = 0;
    uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(log.Dir())) {
        ++files;
        bytes += entry.file_size();
    }
    EXPECT_LE(files, static_cast<size_t>(1 + Log::kArchives));
    EXPECT_LE(bytes, (1u + Log::kArchives) * 1100u * 1024u) << "a few megabytes at most";
    EXPECT_TRUE(std::filesystem::exists(log.Dir() / (std::string(Log::kFileName) + ".0")));
}

TEST(Log, ANetworkFailureNamesTheAddressWithoutItsQueryAndTheReason)
{
    CapturedLog log;
    std::string reason;
    try {
        Poco::Net::HTTPClientSession session("127.0.0.1", 1);
        Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, "/");
        session.sendRequest(request);
    } catch (const std::exception& failure) {
        reason = NetworkFailure::Reason(failure);
    }
    NetworkFailure::Report("gateway", "http://127.0.0.1:1/router/rest?app_key=1&sign=AB", reason);
    EXPECT_NE(log.Text().find(" W gateway http://127.0.0.1:1/router/rest: connection refused"), std::string::npos)
        << log.Text();
    EXPECT_EQ(log.Text().find("sign="), std::string::npos);
}
