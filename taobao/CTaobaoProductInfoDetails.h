#pragma once
#include "taobao/CTaobaoProductInfo.h"

// A product with what its detail page and its seller add.
struct CTaobaoProductInfoDetails : CTaobaoProductInfo
{
    CTaobaoProductInfoDetails() = default;
    explicit CTaobaoProductInfoDetails(const CTaobaoProductInfo& product) : CTaobaoProductInfo(product) {}

    const CTaobaoProductInfo& product() const { return *this; }

    std::string desc;  // HTML, system code page
    std::string num;
    std::string delist_time;
    std::string state;  // system code page
    std::string city;   // system code page
    std::string express_fee;
    std::string detail_url;
    std::string credit;  // the seller's number of ratings
    double reputation = 0;  // the seller's score per rating
};
