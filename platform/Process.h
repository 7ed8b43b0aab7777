#pragma once
#include <string>
#include <vector>

// Starting other programs. Nothing here goes through a shell: a command line is
// split into words (double quotes group words) and executed directly.
class Process
{
public:
    // Splits a command line into its words the way a console program would see them.
    static std::vector<std::string> SplitCommandLine(const std::string& commandLine);

    // Starts the program without waiting for it; false when it could not be started.
    static bool Launch(const std::string& commandLine);

    // Starts argv[0] found on PATH with the given arguments, without waiting.
    static bool Spawn(const std::vector<std::string>& argv);

    // Whether an executable of that name is on PATH.
    static bool IsOnPath(const std::string& program);
};
