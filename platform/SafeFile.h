#pragma once
#include <string>

// Files the program writes for the user (settings, lists, the
// recommendation package): written whole or not at all. The bytes go to a
// sibling temporary file that is synced and renamed over the old one, and
// the folder is synced after, so a full disk, a read-only folder or a crash
// leaves the old file as it was.
class SafeFile
{
public:
    // False, with the reason in error, when the file could not be replaced.
    static bool Write(const std::string& path, const std::string& bytes, std::string& error);

    // Write, and a failure is never silent: the log names the file and the
    // reason, and the user is told in the window.
    static bool Save(const std::string& path, const std::string& bytes);
    static void ReportFailure(const std::string& path, const std::string& reason);
    // Whether any failure was reported in this process.
    static bool AnyFailed();
};
