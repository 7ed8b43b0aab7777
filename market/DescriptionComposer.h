#pragma once

#include <string>

namespace market {

class Catalogue;
class MarketLinks;
struct Product;

// The HTML description of a product: its own when it has one (imported),
// otherwise a page composed from its data, with headings, a table of its
// properties and pictures.
class DescriptionComposer {
public:
    static std::string describe(const Product& product, const Catalogue& catalogue, const MarketLinks& links);
};

}
