#include "taobao/CTaobaoSearchParams.h"

#include "taobao/CTaobaoParamList.h"

#include <utility>

namespace
{

const int kAffiliateSource = 1;
const int kUnboundedEndPrice = 1000000;

struct SortWords
{
    const char* name;
    const char* words[6];  // by sort order 0-5; nullptr sends nothing
    const char* otherwise;
};

const SortWords kAffiliateSort = {
    "sort", {nullptr, "price:desc", "price:asc", "credit_desc", "delist_time:asc", "delist_time:desc"},
    "delist_time:asc"};
const SortWords kItemsSort = {
    "order_by", {nullptr, "price:desc", "price:asc", "seller_credit:desc", "volume:desc", "delist_time:desc"},
    "delist_time:asc"};

void addSort(const SortWords& sort, int sortOrder, CTaobaoParamList& list)
{
    const char* words = sortOrder >= 0 && sortOrder <= 5 ? sort.words[sortOrder] : sort.otherwise;
    if (words)
        list.addParam(sort.name, words);
}

void addIfSet(CTaobaoParamList& list, const char* name, const std::string& value)
{
    if (!value.empty())
        list.addParam(name, value);
}

void orderPriceBounds(CTaobaoSearchParams& params)
{
    if (params.endPrice < params.startPrice && params.endPrice > 0)
        std::swap(params.startPrice, params.endPrice);
}

// The affiliate search wants both bounds whenever one is given.
void addAffiliatePrices(CTaobaoSearchParams& params, CTaobaoParamList& list)
{
    orderPriceBounds(params);
    if (params.startPrice < 1 && params.endPrice < 1)
        return;
    if (params.startPrice < 1)
        params.startPrice = 0;
    if (params.endPrice < 1 || params.endPrice < params.startPrice)
        params.endPrice = kUnboundedEndPrice;
    list.addParam("start_price", std::to_string(params.startPrice));
    list.addParam("end_price", std::to_string(params.endPrice));
}

void addItemsPrices(CTaobaoSearchParams& params, CTaobaoParamList& list)
{
    orderPriceBounds(params);
    if (params.startPrice > 0)
        list.addParam("start_price", std::to_string(params.startPrice));
    if (params.endPrice > 0)
        list.addParam("end_price", std::to_string(params.endPrice));
}

void addAffiliateSearch(CTaobaoSearchParams& params, CTaobaoParamList& list)
{
    addSort(kAffiliateSort, params.sortOrder, list);
    addIfSet(list, "keyword", params.keyword);
    addIfSet(list, "area", params.city);
    addIfSet(list, "cid", params.cid);
    addAffiliatePrices(params, list);
}

void addItemsSearch(CTaobaoSearchParams& params, CTaobaoParamList& list)
{
    addSort(kItemsSort, params.sortOrder, list);
    addIfSet(list, "q", params.keyword);
    addIfSet(list, "location.state", params.province);
    addIfSet(list, "location.city", params.city);
    addIfSet(list, "cid", params.cid);
    addIfSet(list, "props", params.props);
    addIfSet(list, "nicks", params.nicks);
    addItemsPrices(params, list);
    if (params.isMall)
        list.addParam("is_mall", "true");
    if (params.isPrepay)
        list.addParam("is_prepay", "true");
    if (params.promoted)
        list.addParam("promoted_service", "4");
}

}

void resetSearchParams(CTaobaoSearchParams& params)
{
    params = CTaobaoSearchParams();
}

void addSearchParams(CTaobaoSearchParams& params, CTaobaoParamList& list, int browseSource)
{
    if (browseSource == kAffiliateSource)
        addAffiliateSearch(params, list);
    else
        addItemsSearch(params, list);
}

std::string copyCategoryId(const CTaobaoSearchParams& params)
{
    return params.cid;
}
