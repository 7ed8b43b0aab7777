#include "platform/Browser.h"
#include "platform/InstanceLock.h"
#include "platform/Process.h"
#include "platform/Ticks.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string ReadWhenPresent(const std::string& path)
{
    for (int i = 0; i < 200; ++i) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        if (!text.str().empty())
            return text.str();
        Sleep(10);
    }
    return "";
}

std::string TempName(const char* tag)
{
    return "/tmp/qx-" + std::string(tag) + "-" + std::to_string(getpid());
}

}

TEST(Process, SplitsCommandLinesLikeAConsole)
{
    EXPECT_EQ(Process::SplitCommandLine("/opt/q/bin/Feedback.exe 2.6 0"),
              (std::vector<std::string>{"/opt/q/bin/Feedback.exe", "2.6", "0"}));
    EXPECT_EQ(Process::SplitCommandLine("  \"/a b/c\"  x "), (std::vector<std::string>{"/a b/c", "x"}));
    EXPECT_TRUE(Process::SplitCommandLine("   ").empty());
}

TEST(Process, LaunchRunsTheProgramWithoutAShell)
{
    // A shell would split at ";" and run a second command: without one it is
    // part of the file name touch creates.
    const std::string out = TempName("launch") + ";false";
    unlink(out.c_str());
    ASSERT_TRUE(Process::Launch("/usr/bin/touch " + out));
    bool created = false;
    for (int i = 0; i < 200 && !created; ++i, Sleep(10))
        created = access(out.c_str(), F_OK) == 0;
    EXPECT_TRUE(created);
    unlink(out.c_str());
    EXPECT_FALSE(Process::Launch("/no/such/program"));
}

TEST(Browser, OpensOnlyWebPagesThroughTheConfiguredOpener)
{
    const std::string out = TempName("browser");
    const std::string script = TempName("opener") + ".sh";
    std::ofstream(script) << "#!/bin/sh\necho \"$1\" > " << out << "\n";
    chmod(script.c_str(), 0755);
    setenv("QUOBRIX_BROWSER", script.c_str(), 1);

    EXPECT_FALSE(OpenURLInBrowser("file:///etc/passwd"));
    EXPECT_FALSE(OpenURLInBrowser("javascript:alert(1)"));
    EXPECT_FALSE(OpenURLInBrowser("http://x/" + std::string(600, 'a')));
    unlink(out.c_str());
    ASSERT_TRUE(OpenURLInBrowser("http://127.0.0.1:8600/quobrix/index.htm?a=1&b=2"));
    EXPECT_EQ(ReadWhenPresent(out), "http://127.0.0.1:8600/quobrix/index.htm?a=1&b=2\n");

    unsetenv("QUOBRIX_BROWSER");
    unlink(out.c_str());
    unlink(script.c_str());
}

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstEnds)
{
    const std::string path = TempName("lock");
    {
        InstanceLock first(path);
        ASSERT_TRUE(first.Acquire());
        InstanceLock second(path);
        EXPECT_FALSE(second.Acquire());
    }
    InstanceLock third(path);
    EXPECT_TRUE(third.Acquire());
    unlink(path.c_str());
}

TEST(InstanceLock, APlaceThatCannotHoldTheFileFallsBackAndStillAdmitsOnlyOne)
{
    const std::string nowhere = "/nonexistent-quobrix-dir/quobrix.lock";
    {
        InstanceLock first(nowhere);
        ASSERT_TRUE(first.Acquire()) << "an unusable lock place counted as another instance";
        InstanceLock second(nowhere);
        EXPECT_FALSE(second.Acquire()) << "the fallback lock was not taken";
    }
    unlink(InstanceLock::FallbackPath().c_str());
}

TEST(Ticks, CompareAcrossWrapAround)
{
    EXPECT_TRUE(TickBefore(0xFFFFFFF0u, 0x10u));
    EXPECT_FALSE(TickBefore(0x10u, 0xFFFFFFF0u));
    EXPECT_FALSE(TickBefore(5, 5));
    const uint32_t start = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - start, 20u);
}
