#include "taobao/CTaobaoParamList.h"
#include "taobao/CTaobaoSearchParams.h"

#include <gtest/gtest.h>

#include <map>

namespace
{

const int kItems = 0;
const int kAffiliate = 1;

std::map<std::string, std::string> paramsOf(CTaobaoSearchParams& search, int source)
{
    CTaobaoParamList list;
    addSearchParams(search, list, source);
    std::map<std::string, std::string> params;
    for (const auto& param : list.params())
        EXPECT_TRUE(params.emplace(param.first, param.second).second) << "twice: " << param.first;
    return params;
}

CTaobaoSearchParams priced(int start, int end)
{
    CTaobaoSearchParams search;
    search.startPrice = start;
    search.endPrice = end;
    return search;
}

using Params = std::map<std::string, std::string>;

}

TEST(SearchParams, ResetRestoresEveryField)
{
    CTaobaoSearchParams search = priced(5, 9);
    search.keyword = "k";
    search.sortOrder = 3;
    search.isMall = search.isPrepay = search.promoted = true;
    resetSearchParams(search);
    EXPECT_TRUE(search.keyword.empty());
    EXPECT_EQ(search.sortOrder, 0);
    EXPECT_EQ(search.startPrice, -1);
    EXPECT_EQ(search.endPrice, -1);
    EXPECT_FALSE(search.isMall || search.isPrepay || search.promoted);
    EXPECT_TRUE(paramsOf(search, kItems).empty());
}

TEST(SearchParams, ItemsSearchPriceBounds)
{
    CTaobaoSearchParams swapped = priced(300, 100);
    EXPECT_EQ(paramsOf(swapped, kItems), (Params{{"start_price", "100"}, {"end_price", "300"}}));
    EXPECT_EQ(swapped.startPrice, 100);
    EXPECT_EQ(swapped.endPrice, 300);

    CTaobaoSearchParams upperOnly = priced(-1, 50);
    EXPECT_EQ(paramsOf(upperOnly, kItems), (Params{{"end_price", "50"}}));
    EXPECT_EQ(upperOnly.startPrice, -1);

    CTaobaoSearchParams lowerOnly = priced(20, -1);
    EXPECT_EQ(paramsOf(lowerOnly, kItems), (Params{{"start_price", "20"}}));
}

TEST(SearchParams, AffiliateSearchPriceBoundsAreCompletedInTheRecord)
{
    CTaobaoSearchParams upperOnly = priced(-1, 50);
    EXPECT_EQ(paramsOf(upperOnly, kAffiliate), (Params{{"start_price", "0"}, {"end_price", "50"}}));
    EXPECT_EQ(upperOnly.startPrice, 0);

    CTaobaoSearchParams lowerOnly = priced(20, -1);
    EXPECT_EQ(paramsOf(lowerOnly, kAffiliate), (Params{{"start_price", "20"}, {"end_price", "1000000"}}));
    EXPECT_EQ(lowerOnly.endPrice, 1000000);

    CTaobaoSearchParams none = priced(-1, -1);
    EXPECT_TRUE(paramsOf(none, kAffiliate).empty());
    EXPECT_EQ(none.startPrice, -1);
    EXPECT_EQ(none.endPrice, -1);

    CTaobaoSearchParams swapped = priced(300, 100);
    EXPECT_EQ(paramsOf(swapped, kAffiliate), (Params{{"start_price", "100"}, {"end_price", "300"}}));
}

TEST(SearchParams, SortWordsOfBothVocabularies)
{
    const char* items[] = {nullptr, "price:desc", "price:asc", "seller_credit:desc", "volume:desc",
                           "delist_time:desc", "delist_time:asc"};
    const char* affiliate[] = {nullptr, "price:desc", "price:asc", "credit_desc", "delist_time:asc",
                               "delist_time:desc", "delist_time:asc"};
    for (int order = 0; order <= 6; ++order) {
        CTaobaoSearchParams search;
        search.sortOrder = order;
        Params itemsParams = paramsOf(search, kItems);
        Params affiliateParams = paramsOf(search, kAffiliate);
        if (items[order])
            EXPECT_EQ(itemsParams["order_by"], items[order]) << order;
        else
            EXPECT_TRUE(itemsParams.empty()) << order;
        if (affiliate[order])
            EXPECT_EQ(affiliateParams["sort"], affiliate[order]) << order;
        else
            EXPECT_TRUE(affiliateParams.empty()) << order;
    }
}

TEST(SearchParams, FiltersOfBothVocabularies)
{
    CTaobaoSearchParams search;
    search.keyword = "连衣裙";
    search.city = "杭州";
    search.province = "浙江";
    search.cid = "50010850";
    search.props = "20000:3275069";
    search.nicks = "seller";
    search.isMall = search.isPrepay = search.promoted = true;
    EXPECT_EQ(paramsOf(search, kItems),
              (Params{{"q", "连衣裙"}, {"location.state", "浙江"}, {"location.city", "杭州"},
                      {"cid", "50010850"}, {"props", "20000:3275069"}, {"nicks", "seller"},
                      {"is_mall", "true"}, {"is_prepay", "true"}, {"promoted_service", "4"}}));
    EXPECT_EQ(paramsOf(search, kAffiliate), (Params{{"keyword", "连衣裙"}, {"area", "杭州"}, {"cid", "50010850"}}));
    EXPECT_EQ(copyCategoryId(search), "50010850");
}

TEST(SearchParams, ShopSearchWithoutKeyword)
{
    CTaobaoSearchParams search;
    search.nicks = "a shop";
    search.sortOrder = 4;
    EXPECT_EQ(paramsOf(search, kItems), (Params{{"nicks", "a shop"}, {"order_by", "volume:desc"}}));
}
