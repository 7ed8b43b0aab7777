#pragma once

#include "market/CatalogueRecords.h"
#include "market/MarketServer.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace market {

class CatalogueDatabase;

// Loads a shop owner's own product list into the market's data folder in
// place of the generated catalogue. The CSV has a header row naming its
// columns: title, price (yuan), category ("衣服>女装>连衣裙"), nick are
// needed; picture (a file in the pictures folder), volume, type
// (fixed/auction), num, express_fee, brand, state, city, desc, mall,
// prepay and guarantee (1/0, true/false) are optional.
class CsvImporter {
public:
    struct Report {
        int products = 0;
        int skippedRows = 0;
        std::string firstProblem;
    };

    // Throws std::runtime_error when the file cannot be read or holds no product.
    static Report importFile(const MarketOptions& options, const std::string& csvPath,
                             const std::string& picturesDir);

private:
    using Row = std::map<std::string, std::string>;

    explicit CsvImporter(std::string picturesDir, std::string importedDir)
        : picturesDir_(std::move(picturesDir)), importedDir_(std::move(importedDir)) {}

    bool addRow(const Row& row, std::string& problem);
    int64_t categoryFor(const std::string& path);
    int64_t brandFor(int64_t cid, const std::string& brand);
    std::string copyPicture(const std::string& name, std::string& problem);
    void write(CatalogueDatabase& database) const;

    std::string picturesDir_;
    std::string importedDir_;
    std::vector<Category> categories_;
    std::map<std::string, int64_t> categoryByPath_;
    std::vector<PropValue> brands_;
    std::map<std::string, int64_t> brandVids_;
    std::map<std::string, Seller> sellers_;
    std::map<std::string, int64_t> shopCids_;   // a shop's category: that of its first product
    std::vector<Product> products_;
};

}
