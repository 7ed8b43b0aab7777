#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace market {

// Cents as the market writes money: yuan with two decimals, "129.50".
inline std::string yuanText(int64_t cents)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cents / 100),
                  static_cast<long long>(cents % 100));
    return text;
}

// Plain records of the catalogue, as stored in SQLite and held in memory.
// Money is kept in cents so prices compare and print exactly.

struct Category {
    int64_t cid = 0;
    int64_t parentCid = 0;   // 0 for a top-level category
    std::string name;
    bool isParent = false;
    int sortOrder = 0;
};

struct PropValue {
    int64_t cid = 0;
    int64_t pid = 0;
    std::string propName;
    int64_t vid = 0;
    std::string name;
    std::string nameAlias;
    int sortOrder = 0;
};

struct Seller {
    std::string nick;
    int64_t totalNum = 0;   // credit: number of ratings
    int64_t goodNum = 0;    // positive ratings
    int level = 0;          // credit band, 0 (below a heart) to 15 (five crowns)
    std::string state;
    std::string city;
};

struct Shop {
    int64_t sid = 0;
    std::string nick;
    int64_t cid = 0;
    std::string title;
    std::string desc;
    std::string bulletin;   // empty when the shop has none
    std::string created;
    std::string modified;
};

struct Product {
    int64_t numIid = 0;
    int64_t cid = 0;
    std::string title;
    std::string nick;
    std::string type;        // "fixed" or "auction"
    int64_t priceCents = 0;
    int64_t expressFeeCents = 0;
    int64_t volume = 0;
    int64_t num = 0;
    int64_t delistOffset = 0;   // seconds after the catalogue's listing base time
    bool isMall = false;
    bool isPrepay = false;
    bool promoted = false;
    int aspect = 0;             // picture shape: 0 square, 1 wide, 2 tall
    std::string pictureFile;    // imported picture file; empty: drawn by the market
    std::string desc;           // empty: composed from the product when asked
    std::vector<std::pair<int64_t, int64_t>> props;   // (pid, vid)
};

}
