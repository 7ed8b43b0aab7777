#pragma once
#include <QuobrixVersion.h>

#include <cstdint>
#include <string>

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

    // The picture cache below the data root: "<parent of dir>/datafiles/img/".
    static std::string ImageCacheDir(const std::string& programDir);
};
