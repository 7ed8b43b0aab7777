#pragma once
#include <string>

// A request for the details thread.
struct CDetailRequest
{
    enum Kind
    {
        ProductDetails = 1,
        Shop = 2,
        Seller = 3,
    };

    int kind = ProductDetails;
    int position = 0;  // ProductDetails only
    std::string nick;  // the seller's nick in UTF-8, for Shop and Seller
};
