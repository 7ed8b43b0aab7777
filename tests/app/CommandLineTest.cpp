#include "app/CommandLine.h"

#include <QuobrixVersion.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::string RefusalOf(const std::vector<std::string>& arguments)
{
    try {
        CommandLine::Parse(arguments);
    } catch (const std::invalid_argument& error) {
        return error.what();
    }
    return "accepted";
}

}

TEST(CommandLine, OptionsAreRecognised)
{
    const CommandLine none = CommandLine::Parse({});
    EXPECT_FALSE(none.help);
    EXPECT_FALSE(none.version);
    EXPECT_FALSE(none.verbose);

    EXPECT_TRUE(CommandLine::Parse({"--help"}).help);
    EXPECT_TRUE(CommandLine::Parse({"-h"}).help);
    EXPECT_TRUE(CommandLine::Parse({"--version"}).version);

    const CommandLine verbose = CommandLine::Parse({"--verbose"});
    EXPECT_TRUE(verbose.verbose);
    EXPECT_FALSE(verbose.help);
    EXPECT_FALSE(verbose.version);

    const CommandLine both = CommandLine::Parse({"--verbose", "--version"});
    EXPECT_TRUE(both.verbose);
    EXPECT_TRUE(both.version);
}

TEST(CommandLine, AnythingElseIsRefusedByName)
{
    EXPECT_EQ(RefusalOf({"--bogus"}), "unknown option: --bogus");
    EXPECT_EQ(RefusalOf({"--verbose", "-v"}), "unknown option: -v");
    EXPECT_EQ(RefusalOf({"--help=1"}), "unknown option: --help=1");
    EXPECT_EQ(RefusalOf({"file.xml"}), "unexpected argument: file.xml");
    EXPECT_EQ(RefusalOf({""}), "empty argument");
}

TEST(CommandLine, UsageNamesEveryOptionAndVersionIsTheProjects)
{
    const std::string usage = CommandLine::Usage();
    EXPECT_EQ(usage.rfind("usage: quobrix ", 0), 0u);
    for (const char* option : {"--help", "--version", "--verbose"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    EXPECT_EQ(CommandLine::VersionText(), std::string("quobrix ") + QuobrixVersion::kString + "\n");
    EXPECT_EQ(std::string(QuobrixVersion::kString),
              std::to_string(QuobrixVersion::kMain) + "." + std::to_string(QuobrixVersion::kSub));
}
