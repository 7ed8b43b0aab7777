#pragma once
#include <string>

class CTaobaoParamList;

// The current search: keyword, filters and sort order.
struct CTaobaoSearchParams
{
    std::string keyword;   // UTF-8
    std::string city;      // UTF-8
    std::string province;  // UTF-8
    std::string cid;       // "0" and "-1" mean no category
    std::string props;
    std::string nicks;     // UTF-8; the shop whose products are listed
    // 0 none, 1 price descending, 2 price ascending, 3 seller credit,
    // 4 sales volume, 5 listing end descending, else listing end ascending
    int sortOrder = 0;
    int startPrice = -1;  // below 1: no bound
    int endPrice = -1;    // below 1: no bound
    bool isMall = false;
    bool isPrepay = false;
    bool promoted = false;
};

void resetSearchParams(CTaobaoSearchParams& params);

// Adds the search as request parameters in the vocabulary of the browse
// source (1 affiliate search, anything else items search). Corrects the
// price bounds of the record itself.
void addSearchParams(CTaobaoSearchParams& params, CTaobaoParamList& list, int browseSource);

std::string copyCategoryId(const CTaobaoSearchParams& params);
