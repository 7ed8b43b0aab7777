// The market program: its flags, and a real run that serves and stops on SIGTERM.
#include "market/MarketCommandLine.h"
#include "tests/support/LocalMarket.h"

#include <Poco/Exception.h>
#include <Poco/File.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/Pipe.h>
#include <Poco/PipeStream.h>
#include <Poco/Process.h>
#include <Poco/StreamCopier.h>
#include <Poco/TemporaryFile.h>
#include <Poco/URI.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace {

market::MarketCommandLine parse(std::vector<std::string> arguments)
{
    return market::MarketCommandLine::parse(arguments);
}

TEST(MarketProgramTest, FlagsSetOptionsAndFaults)
{
    auto line = parse({"--port", "0", "--data-dir", "/tmp/x", "--products", "1200", "--seed", "7", "--fault", "drop",
                       "--fault-scope", "pictures", "--fault-count", "3", "--latency", "250", "--app-key", "1"});
    EXPECT_EQ(line.options.port, 0);
    EXPECT_EQ(line.options.dataDir, "/tmp/x");
    EXPECT_EQ(line.options.productCount, 1200);
    EXPECT_EQ(line.options.seed, 7u);
    EXPECT_EQ(line.options.appKey, "1");
    EXPECT_EQ(line.faults.fault, market::Fault::DropConnection);
    EXPECT_EQ(line.faults.scope, market::FaultScope::Pictures);
    EXPECT_EQ(line.faults.remaining, 3);
    EXPECT_EQ(line.faults.latencyMs, 250);

    auto defaults = parse({});
    EXPECT_EQ(defaults.options.port, 8600);
    EXPECT_EQ(defaults.options.host, "127.0.0.1");
    EXPECT_EQ(defaults.options.appKey, "31875046");
    EXPECT_EQ(defaults.faults.fault, market::Fault::None);
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"--version"}).version);
    EXPECT_FALSE(parse({"--help"}).version);
}

TEST(MarketProgramTest, BadFlagsAreRefusedWithAReason)
{
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--port", "70000"}, {"--port"}, {"--products", "many"},
                                               {"--fault", "meltdown"}, {"--fault-scope", "moon"},
                                               {"--latency", "-1"}, {"--import-pictures", "dir"}, {"--verbose", "1"}})
        EXPECT_THROW(parse(bad), std::invalid_argument) << bad[0];
}

TEST(MarketProgramTest, ASecondMarketOnABusyPortRefusesToStart)
{
    market::MarketOptions options;
    options.port = LocalMarket::instance().server().port();
    options.dataDir = LocalMarket::dataDir();
    options.productCount = LocalMarket::kProductCount;
    market::MarketServer second(options);
    EXPECT_THROW(second.start(), Poco::Exception);
    EXPECT_FALSE(second.running());
}

TEST(MarketProgramTest, TheProgramServesUntilTerminated)
{
    const char* buildDir = std::getenv("QX_BUILD_DIR");
    ASSERT_NE(buildDir, nullptr);
    std::string dataDir = Poco::TemporaryFile::tempName();
    Poco::Pipe output;
    Poco::ProcessHandle process = Poco::Process::launch(
        std::string(buildDir) + "/bin/quobrix-market", {"--port", "0", "--data-dir", dataDir, "--products", "200"}, nullptr,
        &output, nullptr);
    // However the test ends, the program does not outlive it.
    struct Reaper {
        Poco::ProcessHandle& process;
        ~Reaper()
        {
            if (Poco::Process::isRunning(process)) {
                Poco::Process::kill(process);
                process.wait();
            }
        }
    } reaper{process};
    Poco::PipeInputStream lines(output);
    std::string line, serving;
    while (serving.empty() && std::getline(lines, line))
        if (line.find("serving ") != std::string::npos)
            serving = line.substr(line.find("http://"), line.find(' ', line.find("http://")) - line.find("http://"));
    ASSERT_FALSE(serving.empty()) << "the market did not say where it serves";

    Poco::URI top(serving);
    Poco::Net::HTTPClientSession session(top.getHost(), top.getPort());
    Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, "/quobrix/index.htm",
                                   Poco::Net::HTTPMessage::HTTP_1_1);
    session.sendRequest(request);
    Poco::Net::HTTPResponse response;
    std::string body;
    Poco::StreamCopier::copyToString(session.receiveResponse(response), body);
    EXPECT_EQ(response.getStatus(), Poco::Net::HTTPResponse::HTTP_OK);

    Poco::Process::requestTermination(process.id());
    EXPECT_EQ(process.wait(), 0);
    EXPECT_TRUE(Poco::File(dataDir + "/catalogue.db").exists());
    Poco::File(dataDir).remove(true);
}

}
