#pragma once
#include <string>

// One recommendation card: a keyword to search, a shop to visit or a single
// product to open. Text is in the system code page, as the package has it.
struct CQXRecommendItem
{
    enum Type
    {
        Search = 0,
        Shop = 1,
        Product = 2,
    };

    int type = Search;
    std::string name;        // keyword, shop nick or product title
    std::string pictureUrl;
    int highPrice = 0;
    int lowPrice = 0;
    std::string categoryId;
    std::string propertyFilter;
    bool mall = false;
    bool prepay = false;
    bool guarantee = false;
    bool affiliate = false;
    bool byVolume = false;     // sort by sales volume rather than seller credit
    std::string productText;   // product items: shown after the product label
    std::string productLink;   // product items: the page opened when chosen
    std::string cardText;      // empty: the card shows the name
    bool pictureReady = false;
};
