#pragma once
#include <string>

// One product as a search lists it.
struct CTaobaoProductInfo
{
    std::string num_iid;
    std::string pic_url;  // or the placeholder picture path
    std::string title;    // system code page, tags removed
    std::string price;    // exactly two decimals
    std::string type;     // empty for affiliate results
    std::string nick;     // UTF-8 (system code page after a detail fetch)
    std::string volume;   // "0" when unknown
};

inline const char* const kNoPicturePath = "../datafiles/imagesets/no_pic.jpg";
