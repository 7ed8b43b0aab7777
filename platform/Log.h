#pragma once
#include <string>

// The program's own log, the file to attach to a bug report: start-up, the
// addresses used, every network failure, every file saved or refused, the
// notices shown, shut-down. One file in the state folder, rotated at
// kRotateSize with kArchives older files kept, so it never grows past a few
// megabytes. Before Open, and when it failed, lines go nowhere: a program
// that cannot write its log still runs.
class Log
{
public:
    static constexpr const char* kFileName = "quobrix.log";
    static constexpr const char* kRotateSize = "1 M";
    static constexpr int kArchives = 3;

    // Appends to dir/quobrix.log from now on; verbose adds the Debug lines.
    // False, with the reason, when the file cannot be opened.
    static bool Open(const std::string& dir, bool verbose, std::string& error);
    // Flushes and closes the file; later lines go nowhere.
    static void Close();

    static void Error(const std::string& text);
    static void Warning(const std::string& text);
    static void Info(const std::string& text);
    static void Debug(const std::string& text);
};
