#pragma once
#include <string>
#include <vector>

// The client's options. --help and --version are answered before anything
// else starts, so they need no display and leave no file behind.
class CommandLine
{
public:
    // Throws std::invalid_argument with a message for the user on an unknown
    // or malformed option.
    static CommandLine Parse(const std::vector<std::string>& arguments);
    static std::string Usage();
    // "quobrix <version>", one line.
    static std::string VersionText();

    bool help = false;
    bool version = false;
    bool verbose = false;   // a more detailed program log
};
