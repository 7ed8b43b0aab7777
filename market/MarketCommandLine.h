#pragma once

#include "market/FaultInjector.h"
#include "market/MarketServer.h"

#include <string>
#include <vector>

namespace market {

// The market executable's flags.
class MarketCommandLine {
public:
    // Throws std::invalid_argument with a message for the user on a bad flag.
    static MarketCommandLine parse(const std::vector<std::string>& arguments);
    static std::string usage();

    MarketOptions options;
    FaultSettings faults;
    std::string importCsv;        // load this product list instead of generating
    std::string importPictures;   // folder of the pictures the list names
    bool help = false;
    bool version = false;
};

}
