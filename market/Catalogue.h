#pragma once

#include "market/CatalogueRecords.h"

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace market {

// The whole catalogue in memory, read-only once loaded, so every request
// thread reads it without locks.
class Catalogue {
public:
    void addCategory(Category category);
    void addPropValue(PropValue value);
    void addSeller(Seller seller);
    void addShop(Shop shop);
    void addProduct(Product product);
    void finishLoading();   // builds the look-up tables

    const std::vector<Product>& products() const { return products_; }
    const std::vector<Category>& categories() const { return categories_; }
    const std::vector<Seller>& sellers() const { return sellers_; }
    const std::vector<Shop>& shops() const { return shops_; }

    const Product* product(int64_t numIid) const;
    const Seller* seller(const std::string& nick) const;
    const Shop* shop(const std::string& nick) const;
    const Category* category(int64_t cid) const;
    std::vector<const Category*> children(int64_t parentCid) const;
    // The category's ancestors from the top level down to the category itself.
    std::vector<int64_t> path(int64_t cid) const;
    std::vector<PropValue> propValues(int64_t cid) const;

private:
    std::vector<Product> products_;
    std::vector<Category> categories_;
    std::vector<Seller> sellers_;
    std::vector<Shop> shops_;
    std::vector<PropValue> propValues_;
    std::unordered_map<int64_t, size_t> productIndex_;
    std::unordered_map<std::string, size_t> sellerIndex_;
    std::unordered_map<std::string, size_t> shopIndex_;
    std::unordered_map<int64_t, size_t> categoryIndex_;
    std::multimap<int64_t, size_t> propValuesByCid_;
};

}
