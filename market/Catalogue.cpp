#include "market/Catalogue.h"

#include <algorithm>

namespace market {

void Catalogue::addCategory(Category category)
{
    categories_.push_back(std::move(category));
}

void Catalogue::addPropValue(PropValue value)
{
    propValues_.push_back(std::move(value));
}

void Catalogue::addSeller(Seller seller)
{
    sellers_.push_back(std::move(seller));
}

void Catalogue::addShop(Shop shop)
{
    shops_.push_back(std::move(shop));
}

void Catalogue::addProduct(Product product)
{
    products_.push_back(std::move(product));
}

void Catalogue::finishLoading()
{
    for (size_t i = 0; i < products_.size(); ++i)
        productIndex_[products_[i].numIid] = i;
    for (size_t i = 0; i < sellers_.size(); ++i)
        sellerIndex_[sellers_[i].nick] = i;
    for (size_t i = 0; i < shops_.size(); ++i)
        shopIndex_[shops_[i].nick] = i;
    for (size_t i = 0; i < categories_.size(); ++i)
        categoryIndex_[categories_[i].cid] = i;
    std::stable_sort(propValues_.begin(), propValues_.end(), [](const PropValue& a, const PropValue& b) {
        return a.sortOrder < b.sortOrder;
    });
    for (size_t i = 0; i < propValues_.size(); ++i)
        propValuesByCid_.emplace(propValues_[i].cid, i);
}

const Product* Catalogue::product(int64_t numIid) const
{
    auto found = productIndex_.find(numIid);
    return found == productIndex_.end() ? nullptr : &products_[found->second];
}

const Seller* Catalogue::seller(const std::string& nick) const
{
    auto found = sellerIndex_.find(nick);
    return found == sellerIndex_.end() ? nullptr : &sellers_[found->second];
}

const Shop* Catalogue::shop(const std::string& nick) const
{
    auto found = shopIndex_.find(nick);
    return found == shopIndex_.end() ? nullptr : &shops_[found->second];
}

const Category* Catalogue::category(int64_t cid) const
{
    auto found = categoryIndex_.find(cid);
    return found == categoryIndex_.end() ? nullptr : &categories_[found->second];
}

std::vector<const Category*> Catalogue::children(int64_t parentCid) const
{
    std::vector<const Category*> result;
    for (const Category& category : categories_)
        if (category.parentCid == parentCid)
            result.push_back(&category);
    return result;
}

std::vector<int64_t> Catalogue::path(int64_t cid) const
{
    std::vector<int64_t> result;
    // The depth bound guards against a parent cycle in an imported catalogue.
    for (const Category* node = category(cid); node && result.size() < 64; node = category(node->parentCid))
        result.push_back(node->cid);
    std::reverse(result.begin(), result.end());
    return result;
}

std::vector<PropValue> Catalogue::propValues(int64_t cid) const
{
    std::vector<PropValue> result;
    auto range = propValuesByCid_.equal_range(cid);
    for (auto it = range.first; it != range.second; ++it)
        result.push_back(propValues_[it->second]);
    return result;
}

}
