#pragma once
#include <string>

// A property header (parent empty, id = pid) or one of its values
// (id = vid, parent = the pid of its property).
struct CTaobaoPropertyEntry
{
    std::string id;
    std::string name;  // system code page
    std::string parent;
};
