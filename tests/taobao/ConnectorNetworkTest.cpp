// The operations end to end against the local marketplace, faults included.
#include "StoreDirectory.h"

#include "download/CTaobaoImageDownloader.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "taobao/CTaobaoConnector.h"
#include "taobao/CTaobaoLocalStore.h"
#include "platform/CodePage.h"
#include "taobao/CTaobaoParamList.h"
#include "taobao/TaobaoXml.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/LocalMarket.h"

#include "market/Catalogue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace
{

using market::Fault;
using market::FaultScope;
using market::FaultSettings;

class MarketConnector : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_market = &LocalMarket::instance();
        m_market->reset();
        m_directory = std::make_unique<StoreDirectory>();
        m_store = &CTaobaoDataStore::getInstance();
        CQX_GlobalVariable::getInstance().SearchIDChange();
        m_searchId = CQX_GlobalVariable::getInstance().GetSearchID();
        CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::NewBrowse);
    }

    void TearDown() override
    {
        m_market->reset();
        CTaobaoConnector::setAttemptTimeouts(3000, 2000);
        CQX_GlobalVariable::getInstance().SetCurrentModeId(8);
        m_directory.reset();
    }

    // What the search bar does when a browse begins.
    void search(int browseSource, const CTaobaoSearchParams& params = CTaobaoSearchParams())
    {
        CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::NewBrowse);
        m_store->resetBrowseData(1);
        m_store->setBrowseSource(browseSource);
        m_store->setSearch(params);
    }

    void inject(Fault fault, int remaining = -1)
    {
        FaultSettings settings;
        settings.fault = fault;
        settings.scope = FaultScope::Gateway;
        settings.remaining = remaining;
        m_market->server().setFaults(settings);
    }

    int64_t gatewayRequests() const { return m_market->server().gatewayRequestCount(); }
    const market::Catalogue& catalogue() const { return m_market->server().catalogue(); }

    CTaobaoProductInfo productAt(int index) const
    {
        CTaobaoProductInfo product;
        EXPECT_TRUE(m_store->products.copyProduct(index, product)) << index;
        return product;
    }

    LocalMarket* m_market = nullptr;
    std::unique_ptr<StoreDirectory> m_directory;
    CTaobaoDataStore* m_store = nullptr;
    int m_searchId = 0;
};

}

TEST_F(MarketConnector, ItemsSearchPageFillsItsPositions)
{
    search(CTaobaoDataStore::ItemsSearch);
    const uint32_t pagesBefore = CQX_GlobalVariable::getInstance().GetPagesFetched();
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(450, m_searchId));
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetPagesFetched(), pagesBefore + 1);
    EXPECT_TRUE(m_store->connectInfo.isRequested(400));
    EXPECT_EQ(m_store->connectInfo.getTotal(), LocalMarket::kProductCount);
    EXPECT_EQ(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::ResultsPresent);
    CTaobaoProductInfo outside;
    EXPECT_FALSE(m_store->products.copyProduct(399, outside));
    EXPECT_FALSE(m_store->products.copyProduct(600, outside));
    EXPECT_EQ(m_store->products.size(), 200u);

    for (int index : {400, 599}) {
        CTaobaoProductInfo product = productAt(index);
        const market::Product* original = catalogue().product(std::stoll(product.num_iid));
        ASSERT_NE(original, nullptr);
        EXPECT_EQ(product.title, CodePage::Utf8ToGbk(original->title));
        EXPECT_EQ(product.nick, original->nick);
        EXPECT_EQ(product.type, original->type);
        EXPECT_EQ(product.price, TaobaoXml::formatFixed2(original->priceCents / 100.0));
        EXPECT_EQ(product.volume, std::to_string(original->volume));
        EXPECT_EQ(product.pic_url.rfind("http://127.0.0.1:", 0), 0u);
    }
    // Unfiltered, the page also brings the category statistics.
    std::vector<std::string> ids, counts;
    EXPECT_TRUE(m_store->categoryCounts.copyCounts(ids, counts));
}

TEST_F(MarketConnector, AffiliateSearchPageIsKeyedByIndex)
{
    search(CTaobaoDataStore::AffiliateSearch);
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(85, m_searchId));
    EXPECT_TRUE(m_store->connectInfo.isRequested(85));
    EXPECT_FALSE(m_store->connectInfo.isRequested(80));
    EXPECT_EQ(m_store->products.size(), 40u);
    CTaobaoProductInfo product = productAt(80);
    EXPECT_TRUE(product.type.empty());
    EXPECT_EQ(product.volume, "0");
    productAt(119);
    std::vector<std::string> ids, counts;
    EXPECT_FALSE(m_store->categoryCounts.copyCounts(ids, counts));
}

TEST_F(MarketConnector, KeywordsWithQueryCharactersAndChineseArriveWhole)
{
    const std::string title = catalogue().products()[7].title;
    CTaobaoSearchParams params;
    params.keyword = title.substr(0, title.find(' ') == std::string::npos ? 6 : title.find(' '));
    search(CTaobaoDataStore::ItemsSearch, params);
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    EXPECT_GT(m_store->connectInfo.getTotal(), 0);

    params.keyword = "A&B=C+D#E 100%";
    search(CTaobaoDataStore::ItemsSearch, params);
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    EXPECT_EQ(m_store->connectInfo.getTotal(), 0);
    EXPECT_EQ(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::NoSearchResult);
}

TEST_F(MarketConnector, StaleSearchesAreDropped)
{
    search(CTaobaoDataStore::ItemsSearch);
    const int64_t before = gatewayRequests();
    EXPECT_FALSE(CTaobaoConnector::fetchProductInfo(0, m_searchId - 1));
    EXPECT_EQ(gatewayRequests(), before);
    EXPECT_EQ(m_store->products.size(), 0u);
}

TEST_F(MarketConnector, DetailsThenSellerFromTheCache)
{
    search(CTaobaoDataStore::ItemsSearch);
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    CTaobaoProductInfo product = productAt(0);
    const market::Seller* seller = catalogue().seller(product.nick);
    ASSERT_NE(seller, nullptr);

    CTaobaoProductInfoDetails record(product);
    int64_t before = gatewayRequests();
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfoDetails(record, 0, m_searchId));
    EXPECT_EQ(gatewayRequests(), before + 2);
    EXPECT_FALSE(record.desc.empty());
    EXPECT_FALSE(record.detail_url.empty());
    EXPECT_FALSE(record.delist_time.empty());
    EXPECT_EQ(record.state, CodePage::Utf8ToGbk(seller->state));
    EXPECT_EQ(record.city, CodePage::Utf8ToGbk(seller->city));
    EXPECT_EQ(record.nick, CodePage::Utf8ToGbk(product.nick));
    EXPECT_EQ(record.credit, std::to_string(seller->totalNum));
    EXPECT_DOUBLE_EQ(record.reputation, double(seller->goodNum) / double(seller->totalNum));

    CTaobaoProductInfoDetails again(product);
    before = gatewayRequests();
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfoDetails(again, 0, m_searchId));
    EXPECT_EQ(gatewayRequests(), before + 1);
    EXPECT_EQ(again.credit, record.credit);
}

TEST_F(MarketConnector, SellerWithoutRecordGoesToTheCache)
{
    const market::Seller& seller = catalogue().sellers()[3];
    ASSERT_TRUE(CTaobaoConnector::fetchSellerInfo(seller.nick, nullptr, m_searchId));
    CTaobaoUserItem cached;
    ASSERT_TRUE(m_store->sellers.copySeller(seller.nick, cached));
    EXPECT_EQ(cached.credit, std::to_string(seller.totalNum));
}

TEST_F(MarketConnector, AffiliateLinkConversion)
{
    const std::string num_iid = std::to_string(catalogue().products()[5].numIid);
    std::string url;
    ASSERT_TRUE(CTaobaoConnector::fetchTaobaokeProductURL_Convert(num_iid, url));
    EXPECT_EQ(url.rfind("http", 0), 0u);
    const uint32_t before = CQX_GlobalVariable::getInstance().GetAffiliateConversions();
    EXPECT_TRUE(CTaobaoConnector::fetchTaobaokeProductURL(num_iid, 3, m_searchId));
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetAffiliateConversions(), before + 1);

    std::string none;
    EXPECT_FALSE(CTaobaoConnector::fetchTaobaokeProductURL_Convert("999999999999", none));
    EXPECT_TRUE(CTaobaoConnector::fetchTaobaokeProductURL("999999999999", 3, m_searchId));
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetAffiliateConversions(), before + 1);
}

TEST_F(MarketConnector, ShopProfileGoesToTheShopCache)
{
    const market::Shop& shop = catalogue().shops()[2];
    ASSERT_TRUE(CTaobaoConnector::fetchShopInfo(shop.nick, m_searchId));
    CTaobaoShopItem cached;
    ASSERT_TRUE(m_store->shopCache.copyShop(CodePage::Utf8ToGbk(shop.nick), cached));
    EXPECT_EQ(cached.sid, std::to_string(shop.sid));
    EXPECT_EQ(cached.title, CodePage::Utf8ToGbk(shop.title));
    EXPECT_EQ(cached.bulletin, shop.bulletin.empty() ? "暂无公告" : shop.bulletin);

    // The platform answers an unknown shop with an error.
    EXPECT_FALSE(CTaobaoConnector::fetchShopInfo("no such shop", m_searchId));
    EXPECT_FALSE(m_store->shopCache.containsShop("no such shop"));
}

TEST_F(MarketConnector, CategoriesOfAnUnfilteredSearchAreTopLevel)
{
    search(CTaobaoDataStore::ItemsSearch);
    EXPECT_FALSE(CTaobaoConnector::fetchCategoryInfo(m_searchId));
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(200, m_searchId));
    ASSERT_TRUE(CTaobaoConnector::fetchCategoryInfo(m_searchId));

    std::vector<const CTaobaoCategory*> records;
    std::vector<std::string> counts;
    ASSERT_TRUE(m_store->categories.getChildren("", records, counts));
    int sum = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i]->parent_cid, "0");
        EXPECT_FALSE(records[i]->name.empty());
        sum += std::stoi(counts[i]);
    }
    EXPECT_EQ(sum, LocalMarket::kProductCount);
    std::vector<std::string> ids;
    EXPECT_FALSE(m_store->categoryCounts.copyCounts(ids, counts));
}

TEST_F(MarketConnector, CategoriesAndPropertiesOfAFilteredSearch)
{
    const market::Category* top = nullptr;
    for (const market::Category& category : catalogue().categories()) {
        if (category.parentCid == 0 && category.isParent) {
            top = &category;
            break;
        }
    }
    ASSERT_NE(top, nullptr);
    CTaobaoSearchParams params;
    params.cid = std::to_string(top->cid);
    search(CTaobaoDataStore::ItemsSearch, params);
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    ASSERT_TRUE(CTaobaoConnector::fetchCategoryInfo(m_searchId));
    std::vector<const CTaobaoCategory*> records;
    std::vector<std::string> counts;
    ASSERT_TRUE(m_store->categories.getChildren(params.cid, records, counts));
    for (const std::string& count : counts)
        EXPECT_GT(std::stoi(count), 0);

    // Properties belong to a leaf category of the search.
    const market::Category* leaf = nullptr;
    for (const market::Category& category : catalogue().categories()) {
        if (!category.isParent && !catalogue().propValues(category.cid).empty()) {
            leaf = &category;
            break;
        }
    }
    ASSERT_NE(leaf, nullptr);
    params.cid = std::to_string(leaf->cid);
    m_store->setSearch(params);
    ASSERT_TRUE(CTaobaoConnector::fetchPropertyInfo(params.cid, m_searchId));
    std::vector<CTaobaoPropertyEntry> entries;
    ASSERT_TRUE(m_store->properties.copyProperties(params.cid, entries));
    ASSERT_FALSE(entries.empty());
    EXPECT_TRUE(entries[0].parent.empty());
    EXPECT_FALSE(entries[1].parent.empty());

    m_store->properties.clear();
    params.cid = "1";
    m_store->setSearch(params);
    EXPECT_TRUE(CTaobaoConnector::fetchPropertyInfo(std::to_string(leaf->cid), m_searchId));
    EXPECT_TRUE(m_store->properties.needsProperties(std::to_string(leaf->cid)));
}

TEST_F(MarketConnector, SavedListsAreBrowsedWithoutThePlatform)
{
    CTaobaoProductInfoDetails cheap;
    cheap.num_iid = "1";
    cheap.price = "5.00";
    CTaobaoProductInfoDetails dear = cheap;
    dear.num_iid = "2";
    dear.price = "12.50";
    m_store->favorites.addFeed(cheap);
    m_store->favorites.addFeed(dear);
    CTaobaoSearchParams params;
    params.sortOrder = 1;
    search(CTaobaoDataStore::FavoriteProducts, params);
    const int64_t before = gatewayRequests();
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId - 5));
    EXPECT_EQ(productAt(0).num_iid, "2");
    EXPECT_EQ(m_store->connectInfo.getTotal(), 2);
    EXPECT_TRUE(CTaobaoConnector::fetchProductInfo(5, m_searchId));
    EXPECT_EQ(m_store->products.size(), 1u);
    EXPECT_EQ(gatewayRequests(), before);

    CQX_GlobalVariable::getInstance().SetCurrentModeId(3);
    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::NewBrowse);
    search(CTaobaoDataStore::ViewedToday);
    EXPECT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    EXPECT_EQ(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::NothingViewedToday);
    EXPECT_TRUE(m_store->history.isLoaded());
}

TEST_F(MarketConnector, ErrorAnswersAreTriedThreeTimes)
{
    search(CTaobaoDataStore::ItemsSearch);
    inject(Fault::ErrorAnswer);
    const int64_t before = gatewayRequests();
    const uint32_t sent = CQX_GlobalVariable::getInstance().GetRequestsSent();
    EXPECT_FALSE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    EXPECT_EQ(gatewayRequests(), before + 3);
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetRequestsSent(), sent + 3);
    EXPECT_EQ(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::NetworkFailure);
    EXPECT_EQ(CTaobaoImageDownloader::getInstance().GetActiveThreadCount(), 2);
}

TEST_F(MarketConnector, ARecoveredAttemptSucceeds)
{
    search(CTaobaoDataStore::ItemsSearch);
    inject(Fault::DropConnection, 2);
    EXPECT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    EXPECT_EQ(m_store->products.size(), 200u);
    EXPECT_EQ(CTaobaoImageDownloader::getInstance().GetActiveThreadCount(), 2);
}

TEST_F(MarketConnector, AnswersThatAreNoAnswersCountAsFailures)
{
    for (Fault fault : {Fault::DropConnection, Fault::GarbageBody, Fault::EmptyBody, Fault::Http500}) {
        search(CTaobaoDataStore::ItemsSearch);
        CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::NewBrowse);
        inject(fault);
        std::string body;
        EXPECT_FALSE(CTaobaoConnector::fetchProductInfoFromTaobao("?x=1", body)) << int(fault);
        EXPECT_FALSE(CTaobaoConnector::fetchProductInfo(0, m_searchId)) << int(fault);
        EXPECT_EQ(CQX_NoticeBoard::getInstance().GetState(), CQX_NoticeBoard::NetworkFailure) << int(fault);
        EXPECT_EQ(m_store->products.size(), 0u);
    }
}

TEST_F(MarketConnector, AnswersPastTheirCapOrTimeEndEachAttempt)
{
    CTaobaoConnector::setAttemptTimeouts(300, 100);
    for (Fault fault : {Fault::OversizedBody, Fault::EndlessBody, Fault::TrickleBody}) {
        const std::string name = market::FaultInjector::faultName(fault);
        inject(fault);
        const auto started = std::chrono::steady_clock::now();
        std::string body;
        EXPECT_FALSE(CTaobaoConnector::fetchProductInfoFromTaobao("?x=1", body)) << name;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3)) << name;
        EXPECT_LT(body.size(), 9u << 20) << name << ": the body grew past its cap";
    }
    search(CTaobaoDataStore::ItemsSearch);
    inject(Fault::EndlessBody, 1);
    EXPECT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId)) << "the next attempt was not held up";
    EXPECT_EQ(m_store->products.size(), 200u);
}

TEST_F(MarketConnector, APageOfASearchLeftWhileItArrivedIsNeverInserted)
{
    search(CTaobaoDataStore::ItemsSearch);
    FaultSettings slow;
    slow.scope = FaultScope::Gateway;
    slow.latencyMs = 300;
    m_market->server().setFaults(slow);
    const int64_t before = gatewayRequests();
    bool inserted = true;
    std::thread fetch;
    {
        // As resetBrowseData holds it while a new browse begins.
        const auto browse = m_store->lockBrowse();
        fetch = std::thread([&] { inserted = CTaobaoConnector::fetchProductInfo(0, m_searchId); });
        while (gatewayRequests() == before)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        CQX_GlobalVariable::getInstance().SearchIDChange();
    }
    fetch.join();
    EXPECT_FALSE(inserted);
    EXPECT_EQ(m_store->products.size(), 0u) << "the old search's page reached the new browse";
}

TEST_F(MarketConnector, PictureThreadsGiveWayWhileAttemptsTimeOut)
{
    FaultSettings slow;
    slow.scope = FaultScope::Gateway;
    slow.latencyMs = 2000;
    m_market->server().setFaults(slow);
    CTaobaoConnector::setAttemptTimeouts(150, 100);

    std::atomic<bool> done{false};
    std::set<int> seen;
    std::thread watcher([&] {
        while (!done) {
            seen.insert(CTaobaoImageDownloader::getInstance().GetActiveThreadCount());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    std::string body;
    EXPECT_FALSE(CTaobaoConnector::fetchProductInfoFromTaobao("?x=1", body));
    done = true;
    watcher.join();
    EXPECT_TRUE(seen.count(1));
    EXPECT_TRUE(seen.count(0));
    EXPECT_EQ(CTaobaoImageDownloader::getInstance().GetActiveThreadCount(), 2);
}

TEST_F(MarketConnector, UnreachableGatewayFailsQuietlyOnScreenAndLoudlyInTheLog)
{
    CapturedLog log;
    const std::string saved = CTaobaoConnector::gatewayUrl();
    setenv("QUOBRIX_TOP_URL", "http://127.0.0.1:1/router/rest", 1);
    std::string body = "left over";
    EXPECT_FALSE(CTaobaoConnector::fetchProductInfoFromTaobao("?x=1", body));
    EXPECT_TRUE(body.empty());
    setenv("QUOBRIX_TOP_URL", saved.c_str(), 1);
    const std::string line = "gateway http://127.0.0.1:1/router/rest: connection refused";
    size_t attempts = 0;
    for (size_t at = log.Text().find(line); at != std::string::npos; at = log.Text().find(line, at + 1))
        ++attempts;
    EXPECT_EQ(attempts, 3u) << "each attempt is logged\n" << log.Text();
}

TEST_F(MarketConnector, ARefusedAnswerIsLoggedWithWhy)
{
    CapturedLog log;
    m_market->server().setFaults({Fault::Http500, FaultScope::Gateway});
    std::string body;
    EXPECT_FALSE(CTaobaoConnector::fetchProductInfoFromTaobao("?x=1", body));
    EXPECT_NE(log.Text().find("/router/rest: HTTP 500"), std::string::npos) << log.Text();
    m_market->server().setFaults({Fault::GarbageBody, FaultScope::Gateway});
    EXPECT_FALSE(CTaobaoConnector::fetchProductInfoFromTaobao("?x=1", body));
    EXPECT_NE(log.Text().find("/router/rest: answer does not parse"), std::string::npos) << log.Text();
}
