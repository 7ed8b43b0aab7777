// Search semantics of taobao.items.search and taobao.taobaoke.items.get,
// checked against the catalogue the market serves.
#include "market/Catalogue.h"
#include "tests/market/MarketClient.h"
#include "tests/support/LocalMarket.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <set>

namespace {

using Params = MarketClient::Params;

const market::Catalogue& catalogue()
{
    return LocalMarket::instance().server().catalogue();
}

struct Page {
    std::vector<std::string> ids;
    std::vector<std::string> titles;
    std::vector<std::string> prices;
    std::vector<std::string> nicks;
    std::vector<std::string> volumes;
    std::vector<std::string> categoryIds;
    std::vector<std::string> counts;
    long long total = -1;
};

Page search(Params params, const char* method = "taobao.items.search")
{
    bool affiliate = std::string(method) == "taobao.taobaoke.items.get";
    params.emplace_back("fields", affiliate ? "num_iid,title,nick,pic_url,price" : "num_iid,title,pic_path,price,nick,"
                                                                                   "type,volume");
    if (affiliate)
        params.emplace_back("nick", "dorvaquelin");
    auto reply = MarketClient::call(method, params);
    TiXmlDocument document;
    MarketClient::parse(reply.body, document);
    EXPECT_EQ(document.RootElement() ? document.RootElement()->ValueStr() : "", "rsp") << reply.body.substr(0, 200);
    Page page;
    page.ids = MarketClient::texts(document, "num_iid");
    page.titles = MarketClient::texts(document, "title");
    page.prices = MarketClient::texts(document, "price");
    page.nicks = MarketClient::texts(document, "nick");
    page.volumes = MarketClient::texts(document, "volume");
    page.categoryIds = MarketClient::texts(document, "category_id");
    page.counts = MarketClient::texts(document, "count");
    auto totals = MarketClient::texts(document, "totalResults");
    if (!totals.empty())
        page.total = std::stoll(totals[0]);
    return page;
}

const market::Product& product(const std::string& id)
{
    const market::Product* found = catalogue().product(std::stoll(id));
    if (!found)
        throw std::runtime_error("answer names unknown product " + id);
    return *found;
}

template <typename Predicate>
long long countProducts(Predicate predicate)
{
    return std::count_if(catalogue().products().begin(), catalogue().products().end(), predicate);
}

bool inSubtree(int64_t cid, int64_t ancestor)
{
    auto path = catalogue().path(cid);
    return std::find(path.begin(), path.end(), ancestor) != path.end();
}

TEST(SearchTest, KeywordsMatchTitleWordsAndAllMustOccur)
{
    const std::string brand = "华为", quality = "正品行货";
    Page one = search({{"q", brand}, {"page_size", "200"}});
    EXPECT_EQ(one.total, countProducts([&](const market::Product& p) { return p.title.find(brand) != std::string::npos; }));
    ASSERT_GT(one.total, 0);
    Page both = search({{"q", brand + " " + quality}, {"page_size", "200"}});
    EXPECT_GT(both.total, 0);
    EXPECT_LT(both.total, one.total);
    for (const std::string& id : both.ids) {
        EXPECT_NE(product(id).title.find(brand), std::string::npos);
        EXPECT_NE(product(id).title.find(quality), std::string::npos);
    }
    EXPECT_EQ(search({{"q", "没有这种商品xyz"}}).total, 0);
}

TEST(SearchTest, ACategoryIncludesItsDescendantsAndCountsTheLevelBelow)
{
    const market::Category& top = *catalogue().children(0).at(1);
    Page page = search({{"cid", std::to_string(top.cid)}, {"page_size", "200"}});
    EXPECT_EQ(page.total, countProducts([&](const market::Product& p) { return inSubtree(p.cid, top.cid); }));
    for (const std::string& id : page.ids)
        EXPECT_TRUE(inSubtree(product(id).cid, top.cid));

    // Statistics name the children of the searched category and add up to the total.
    ASSERT_FALSE(page.categoryIds.empty());
    long long sum = 0;
    for (size_t i = 0; i < page.categoryIds.size(); ++i) {
        EXPECT_EQ(catalogue().category(std::stoll(page.categoryIds[i]))->parentCid, top.cid);
        sum += std::stoll(page.counts.at(i));
    }
    EXPECT_EQ(sum, page.total);

    Page all = search({});
    std::set<std::string> tops;
    for (const market::Category* category : catalogue().children(0))
        tops.insert(std::to_string(category->cid));
    EXPECT_EQ(std::set<std::string>(all.categoryIds.begin(), all.categoryIds.end()), tops);
}

TEST(SearchTest, PropertiesNicksAndLocationsNarrowTheResult)
{
    const market::Product& sample = catalogue().products()[11];
    std::string props;
    for (const auto& prop : sample.props)
        props += (props.empty() ? "" : ";") + std::to_string(prop.first) + ":" + std::to_string(prop.second);
    Page byProps = search({{"props", props}, {"page_size", "200"}});
    EXPECT_EQ(byProps.total, countProducts([&](const market::Product& p) { return p.props == sample.props; }));
    EXPECT_NE(std::find(byProps.ids.begin(), byProps.ids.end(), std::to_string(sample.numIid)), byProps.ids.end());

    Page byNick = search({{"nicks", sample.nick}, {"page_size", "200"}});
    EXPECT_EQ(byNick.total, countProducts([&](const market::Product& p) { return p.nick == sample.nick; }));
    EXPECT_EQ(std::set<std::string>(byNick.nicks.begin(), byNick.nicks.end()), std::set<std::string>{sample.nick});

    const market::Seller& seller = *catalogue().seller(sample.nick);
    auto sellerOf = [](const market::Product& p) { return *catalogue().seller(p.nick); };
    // The client sends a city of its location list as the state too.
    for (const std::string& place : {seller.state, seller.city}) {
        Page byState = search({{"location.state", place}});
        EXPECT_EQ(byState.total, countProducts([&](const market::Product& p) {
                      return sellerOf(p).state == place || sellerOf(p).city == place;
                  })) << place;
    }
    Page byCity = search({{"location.city", seller.city}});
    EXPECT_EQ(byCity.total, countProducts([&](const market::Product& p) { return sellerOf(p).city == seller.city; }));
}

TEST(SearchTest, PriceBoundsAndFlagsFilter)
{
    Page priced = search({{"start_price", "100"}, {"end_price", "200"}, {"page_size", "200"}});
    EXPECT_EQ(priced.total, countProducts([](const market::Product& p) {
                  return p.priceCents >= 10000 && p.priceCents <= 20000;
              }));
    for (const std::string& price : priced.prices) {
        EXPECT_GE(std::stod(price), 100.0);
        EXPECT_LE(std::stod(price), 200.0);
    }
    EXPECT_EQ(search({{"start_price", "500"}}).total,
              countProducts([](const market::Product& p) { return p.priceCents >= 50000; }));

    EXPECT_EQ(search({{"is_mall", "true"}}).total, countProducts([](const market::Product& p) { return p.isMall; }));
    EXPECT_EQ(search({{"is_prepay", "true"}}).total,
              countProducts([](const market::Product& p) { return p.isPrepay; }));
    EXPECT_EQ(search({{"promoted_service", "4"}}).total,
              countProducts([](const market::Product& p) { return p.promoted; }));
    long long mall = search({{"is_mall", "true"}}).total;
    EXPECT_GT(mall, 0);
    EXPECT_LT(mall, LocalMarket::kProductCount);
}

TEST(SearchTest, EverySortOrderSortsTheWholeResult)
{
    auto sellerCredit = [](const std::string& id) { return catalogue().seller(product(id).nick)->totalNum; };
    struct Case {
        const char* orderBy;
        std::function<long long(const std::string&)> key;
        bool descending;
    };
    std::vector<Case> cases = {
        {"price:desc", [](const std::string& id) { return product(id).priceCents; }, true},
        {"price:asc", [](const std::string& id) { return product(id).priceCents; }, false},
        {"seller_credit:desc", sellerCredit, true},
        {"volume:desc", [](const std::string& id) { return product(id).volume; }, true},
        {"delist_time:desc", [](const std::string& id) { return product(id).delistOffset; }, true},
        {"delist_time:asc", [](const std::string& id) { return product(id).delistOffset; }, false},
    };
    for (const Case& c : cases) {
        Page first = search({{"order_by", c.orderBy}, {"page_size", "200"}, {"page_no", "1"}});
        Page second = search({{"order_by", c.orderBy}, {"page_size", "200"}, {"page_no", "2"}});
        std::vector<std::string> ids = first.ids;
        ids.insert(ids.end(), second.ids.begin(), second.ids.end());
        ASSERT_EQ(ids.size(), 400u) << c.orderBy;
        for (size_t i = 1; i < ids.size(); ++i) {
            long long before = c.key(ids[i - 1]), after = c.key(ids[i]);
            EXPECT_TRUE(c.descending ? before >= after : before <= after) << c.orderBy << " at " << i;
        }
    }
    Page cheapest = search({{"order_by", "price:asc"}, {"page_size", "1"}});
    auto minimum = std::min_element(catalogue().products().begin(), catalogue().products().end(),
                                    [](const auto& a, const auto& b) { return a.priceCents < b.priceCents; });
    EXPECT_EQ(product(cheapest.ids.at(0)).priceCents, minimum->priceCents);
}

TEST(SearchTest, PagesAreDisjointAndTheLastOneIsShort)
{
    Page first = search({{"page_size", "200"}, {"page_no", "1"}});
    Page second = search({{"page_size", "200"}, {"page_no", "2"}});
    std::set<std::string> seen(first.ids.begin(), first.ids.end());
    for (const std::string& id : second.ids)
        EXPECT_TRUE(seen.insert(id).second) << id << " on two pages";
    int lastPage = (LocalMarket::kProductCount + 199) / 200;
    Page last = search({{"page_size", "200"}, {"page_no", std::to_string(lastPage)}});
    EXPECT_EQ(int(last.ids.size()), LocalMarket::kProductCount - (lastPage - 1) * 200);
    Page beyond = search({{"page_size", "200"}, {"page_no", std::to_string(lastPage + 1)}});
    EXPECT_TRUE(beyond.ids.empty());
    EXPECT_EQ(beyond.total, LocalMarket::kProductCount);
    EXPECT_EQ(search({{"page_size", "5000"}}).ids.size(), 200u);
}

TEST(SearchTest, TheAffiliateSearchSpeaksItsOwnVocabulary)
{
    const market::Product& sample = catalogue().products()[3];
    std::string word = sample.title.substr(0, sample.title.find(' '));
    Page page = search({{"keyword", word}, {"sort", "price:asc"}, {"page_size", "40"}}, "taobao.taobaoke.items.get");
    EXPECT_EQ(page.total, countProducts([&](const market::Product& p) { return p.title.find(word) != std::string::npos; }));
    EXPECT_LE(page.ids.size(), 40u);
    for (size_t i = 1; i < page.prices.size(); ++i)
        EXPECT_LE(std::stod(page.prices[i - 1]), std::stod(page.prices[i]));
    Page credit = search({{"sort", "credit_desc"}, {"page_size", "40"}}, "taobao.taobaoke.items.get");
    EXPECT_EQ(credit.ids.size(), 40u);

    const market::Seller& seller = *catalogue().seller(sample.nick);
    Page area = search({{"area", seller.city}}, "taobao.taobaoke.items.get");
    EXPECT_EQ(area.total, countProducts([&](const market::Product& p) {
                  const market::Seller& s = *catalogue().seller(p.nick);
                  return s.city == seller.city || s.state == seller.city;
              }));
}

}
