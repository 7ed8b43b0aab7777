#pragma once
#include <string>

struct CTaobaoShopItem
{
    std::string sid;
    std::string title;     // system code page
    std::string desc;      // UTF-8
    std::string bulletin;  // UTF-8
    std::string pic_path;
    std::string nick;      // system code page; the shop's key
};
