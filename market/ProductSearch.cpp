#include "market/ProductSearch.h"

#include <algorithm>
#include <map>

namespace market {

namespace {

const std::vector<int64_t> kNoPath;

}

ProductSearch::ProductSearch(const Catalogue& catalogue) : catalogue_(catalogue)
{
    for (const Category& category : catalogue.categories())
        paths_[category.cid] = catalogue.path(category.cid);
    for (const Product& product : catalogue.products()) {
        lowerTitles_.push_back(lowerAscii(product.title));
        sellers_.push_back(catalogue.seller(product.nick));
        auto found = paths_.find(product.cid);
        productPaths_.push_back(found == paths_.end() ? &kNoPath : &found->second);
    }
}

std::string ProductSearch::lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

bool ProductSearch::inCategory(size_t index, int64_t cid) const
{
    const std::vector<int64_t>& path = *productPaths_[index];
    return std::find(path.begin(), path.end(), cid) != path.end();
}

bool ProductSearch::matches(size_t index, const SearchQuery& query, const std::vector<std::string>& lowerWords) const
{
    const Product& product = catalogue_.products()[index];
    if (query.mallOnly && !product.isMall)
        return false;
    if (query.prepayOnly && !product.isPrepay)
        return false;
    if (query.promotedOnly && !product.promoted)
        return false;
    if (query.startCents >= 0 && product.priceCents < query.startCents)
        return false;
    if (query.endCents >= 0 && product.priceCents > query.endCents)
        return false;
    if (!query.nicks.empty() && std::find(query.nicks.begin(), query.nicks.end(), product.nick) == query.nicks.end())
        return false;
    const Seller* seller = sellers_[index];
    if (!query.stateOrCity.empty() &&
        (!seller || (seller->state != query.stateOrCity && seller->city != query.stateOrCity)))
        return false;
    if (!query.city.empty() && (!seller || seller->city != query.city))
        return false;
    if (query.cid != 0 && !inCategory(index, query.cid))
        return false;
    for (const auto& prop : query.props)
        if (std::find(product.props.begin(), product.props.end(), prop) == product.props.end())
            return false;
    for (const std::string& word : lowerWords)
        if (lowerTitles_[index].find(word) == std::string::npos)
            return false;
    return true;
}

int64_t ProductSearch::statisticsCategory(size_t index, int64_t searchedCid) const
{
    int64_t cid = catalogue_.products()[index].cid;
    const std::vector<int64_t>& path = *productPaths_[index];
    if (path.empty())
        return cid;
    if (searchedCid == 0)
        return path.front();
    auto at = std::find(path.begin(), path.end(), searchedCid);
    return (at == path.end() || at + 1 == path.end()) ? cid : *(at + 1);
}

void ProductSearch::sortPrefix(std::vector<size_t>& indices, SearchQuery::Order order, size_t prefix) const
{
    using Order = SearchQuery::Order;
    const std::vector<Product>& products = catalogue_.products();
    auto key = [&](size_t i) -> int64_t {
        const Product& p = products[i];
        switch (order) {
        case Order::PriceDesc: return -p.priceCents;
        case Order::PriceAsc: return p.priceCents;
        case Order::CreditDesc: return sellers_[i] ? -sellers_[i]->totalNum : 0;
        case Order::VolumeDesc: return -p.volume;
        case Order::DelistDesc: return -p.delistOffset;
        case Order::DelistAsc: return p.delistOffset;
        case Order::None: break;
        }
        return 0;
    };
    // Ties keep catalogue order, so every page of a sorted search is stable.
    auto before = [&](size_t a, size_t b) {
        int64_t ka = key(a), kb = key(b);
        return ka != kb ? ka < kb : a < b;
    };
    prefix = std::min(prefix, indices.size());
    std::partial_sort(indices.begin(), indices.begin() + std::ptrdiff_t(prefix), indices.end(), before);
}

SearchResult ProductSearch::run(const SearchQuery& query) const
{
    std::vector<std::string> lowerWords;
    for (const std::string& word : query.words)
        if (!word.empty())
            lowerWords.push_back(lowerAscii(word));

    std::vector<size_t> hits;
    std::map<int64_t, int64_t> counts;
    for (size_t i = 0; i < catalogue_.products().size(); ++i) {
        if (!matches(i, query, lowerWords))
            continue;
        hits.push_back(i);
        ++counts[statisticsCategory(i, query.cid)];
    }

    SearchResult result;
    result.total = int64_t(hits.size());
    result.categoryCounts.assign(counts.begin(), counts.end());
    size_t first = size_t(std::max(query.pageNo, 1) - 1) * size_t(std::max(query.pageSize, 0));
    if (first >= hits.size())
        return result;
    size_t last = std::min(hits.size(), first + size_t(query.pageSize));
    if (query.order != SearchQuery::Order::None)
        sortPrefix(hits, query.order, last);
    for (size_t i = first; i < last; ++i)
        result.page.push_back(&catalogue_.products()[hits[i]]);
    return result;
}

}
