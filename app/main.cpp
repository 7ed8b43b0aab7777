#include "app/CQX_Entry.h"
#include "app/CommandLine.h"

#include <iostream>
#include <stdexcept>

int main(int argc, char** argv)
{
    CommandLine line;
    try {
        line = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "quobrix: " << error.what() << "\n" << CommandLine::Usage();
        return 2;
    }
    if (line.help) {
        std::cout << CommandLine::Usage();
        return 0;
    }
    if (line.version) {
        std::cout << CommandLine::VersionText();
        return 0;
    }
    return CQX_Entry::Run(line);
}
