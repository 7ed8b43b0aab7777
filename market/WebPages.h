#pragma once

#include "market/HttpAnswer.h"

#include <string>

namespace market {

class Catalogue;
class MarketLinks;

// The HTML pages a browser opens from the client: the product's home and
// download pages, and the item and shop pages that detail and click URLs name;
// and "/style/item.css", a style sheet product pages may link.
class WebPages {
public:
    explicit WebPages(const Catalogue& catalogue) : catalogue_(catalogue) {}

    // False when the path is not one of the pages (or names nothing).
    bool page(const std::string& path, const std::string& query, const MarketLinks& links, HttpAnswer& answer) const;

private:
    std::string itemPage(int64_t numIid, const MarketLinks& links) const;
    std::string shopPage(int64_t sid, const MarketLinks& links) const;

    const Catalogue& catalogue_;
};

}
