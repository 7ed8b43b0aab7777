#pragma once
#include <QuobrixVersion.h>

#include <cstdint>
#include <string>

class AppFolders;
class CQXConfig;
class CommandLine;

// The process entry: admits one instance, starts the program and runs the
// exit actions in their fixed order.
class CQX_Entry
{
public:
    static constexpr int kMainVersion = QuobrixVersion::kMain;
    static constexpr int kSubVersion = QuobrixVersion::kSub;

    // Returns the process exit code.
    static int Run(const CommandLine& commandLine);

    // "<dir>/Feedback.exe 2.6 <uid>", bounded like the classic 1024-byte buffer.
    static std::string FeedbackCommandLine(const std::string& programDir, uint32_t userId);

    // The picture cache, emptied at exit.
    static constexpr const char* kImageCacheDir = "../datafiles/img/";

private:
    static void StartLog(const AppFolders& folders, bool verbose);
    // The settings file's gateway for the connector; the addresses in use go to the log.
    static void UseNetworkSettings(const CQXConfig& config);
};
