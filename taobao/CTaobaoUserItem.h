#pragma once
#include <string>

// A seller's credit as the seller cache keeps it.
struct CTaobaoUserItem
{
    std::string nick;
    std::string credit;  // number of ratings
    double reputation = 0;
};
