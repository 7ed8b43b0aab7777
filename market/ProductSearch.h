#pragma once

#include "market/Catalogue.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace market {

struct SearchQuery {
    enum class Order { None, PriceDesc, PriceAsc, CreditDesc, VolumeDesc, DelistDesc, DelistAsc };

    std::vector<std::string> words;                     // every word must occur in the title
    int64_t cid = 0;                                    // 0: any category; else the category and its descendants
    std::vector<std::pair<int64_t, int64_t>> props;     // every (pid, vid) must be held
    std::vector<std::string> nicks;                     // any of these sellers
    std::string stateOrCity;                            // the seller's province or city
    std::string city;
    int64_t startCents = -1;                            // below 0: no bound
    int64_t endCents = -1;
    bool mallOnly = false;
    bool prepayOnly = false;
    bool promotedOnly = false;
    Order order = Order::None;
    int pageNo = 1;
    int pageSize = 40;
};

struct SearchResult {
    int64_t total = 0;
    std::vector<const Product*> page;
    // (category id, count) over the whole result, one level below the searched category.
    std::vector<std::pair<int64_t, int64_t>> categoryCounts;
};

// Runs searches over the in-memory catalogue; immutable, so shared by all request threads.
class ProductSearch {
public:
    explicit ProductSearch(const Catalogue& catalogue);
    SearchResult run(const SearchQuery& query) const;

    static std::string lowerAscii(std::string text);

private:
    bool matches(size_t index, const SearchQuery& query, const std::vector<std::string>& lowerWords) const;
    bool inCategory(size_t index, int64_t cid) const;
    int64_t statisticsCategory(size_t index, int64_t searchedCid) const;
    void sortPrefix(std::vector<size_t>& indices, SearchQuery::Order order, size_t prefix) const;

    const Catalogue& catalogue_;
    std::vector<std::string> lowerTitles_;
    std::vector<const Seller*> sellers_;
    std::unordered_map<int64_t, std::vector<int64_t>> paths_;
    std::vector<const std::vector<int64_t>*> productPaths_;
};

}
