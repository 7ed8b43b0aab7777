#include "app/CommandLine.h"

#include <QuobrixVersion.h>

#include <stdexcept>

std::string CommandLine::Usage()
{
    return "usage: quobrix [options]\n"
           "Shows a marketplace's products as a moving three-dimensional wall.\n"
           "  --verbose   write a more detailed log\n"
           "  --version   print the version and exit\n"
           "  -h, --help  show this text and exit\n";
}

std::string CommandLine::VersionText()
{
    return std::string("quobrix ") + QuobrixVersion::kString + "\n";
}

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments)
{
    CommandLine line;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h")
            line.help = true;
        else if (argument == "--version")
            line.version = true;
        else if (argument == "--verbose")
            line.verbose = true;
        else if (argument.empty())
            throw std::invalid_argument("empty argument");
        else if (argument[0] == '-')
            throw std::invalid_argument("unknown option: " + argument);
        else
            throw std::invalid_argument("unexpected argument: " + argument);
    }
    return line;
}
