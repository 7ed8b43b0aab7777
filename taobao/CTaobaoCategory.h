#pragma once
#include <string>

struct CTaobaoCategory
{
    std::string cid;
    std::string name;        // system code page
    std::string parent_cid;  // "0" for a top-level category
    bool is_parent = false;  // has subcategories
};
