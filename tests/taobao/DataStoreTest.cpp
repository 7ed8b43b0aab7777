#include "StoreDirectory.h"

#include "mainwnd/CQX_NoticeBoard.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/CTaobaoLocalStore.h"
#include "taobao/CTaobaoParamList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{

CTaobaoProductInfoDetails record(const std::string& num_iid, int price)
{
    CTaobaoProductInfoDetails r;
    r.num_iid = num_iid;
    r.title = "t";
    r.nick = "n";
    r.pic_url = "p";
    r.price = std::to_string(price) + ".00";
    return r;
}

}

TEST(DataStore, ConcurrentFirstUseCreatesOneStore)
{
    StoreDirectory directory;
    CTaobaoDataStore::release();
    std::vector<CTaobaoDataStore*> seen(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &CTaobaoDataStore::getInstance(); });
    for (std::thread& t : threads)
        t.join();
    for (CTaobaoDataStore* store : seen)
        EXPECT_EQ(store, seen[0]);
}

TEST(DataStore, ResetBrowseDataForgetsTheBrowseButNotTheLists)
{
    StoreDirectory directory;
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    store.products.insertProduct(0, std::make_unique<CTaobaoProductInfo>());
    store.connectInfo.markRequested(0);
    store.connectInfo.setTotal(120);
    store.pictures.insert({"http://a", "img/a.jpg"});
    store.categoryCounts.addCounts({"1"}, {"2"});
    store.categories.addCategories({CTaobaoCategory{"1", "c", "0", true}}, {"2"});
    store.properties.setProperties({{"1", "p", ""}}, "1", "1");
    store.favorites.addFeed(record("f", 1));
    store.sellers.addSeller({"s", "1", 1.0});

    store.resetBrowseData(8);
    CTaobaoProductInfo product;
    EXPECT_FALSE(store.products.copyProduct(0, product));
    EXPECT_FALSE(store.connectInfo.isRequested(0));
    EXPECT_EQ(store.connectInfo.getTotal(), 0);
    EXPECT_EQ(store.pictures.size(), 0u);
    std::vector<std::string> ids, counts;
    EXPECT_FALSE(store.categoryCounts.copyCounts(ids, counts));
    EXPECT_FALSE(store.categories.hasChildren("0"));
    EXPECT_TRUE(store.properties.needsProperties("1"));
    EXPECT_EQ(store.favorites.feedCount(), 1);
    EXPECT_TRUE(store.sellers.contains("s"));
}

TEST(DataStore, SearchRecordIsCopiedAndCorrectedUnderItsLock)
{
    StoreDirectory directory;
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    CTaobaoSearchParams search;
    search.keyword = "k";
    search.cid = "16";
    search.startPrice = 20;
    store.setSearch(search);
    store.setBrowseSource(CTaobaoDataStore::AffiliateSearch);
    CTaobaoParamList list;
    store.addSearchParams(list);
    EXPECT_EQ(store.copySearch().endPrice, 1000000);
    EXPECT_EQ(store.copyCategoryId(), "16");
    store.setBrowseSource(CTaobaoDataStore::ItemsSearch);
}

TEST(DataStore, ReleaseSavesTheThreeListsAndANewStoreReadsThem)
{
    StoreDirectory directory;
    TempDir::write(directory.dataFile("shop.xml"), "<shops><shop><nick>old shop</nick><pic_path>/o.png</pic_path></shop></shops>");
    {
        CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
        EXPECT_TRUE(store.favoriteShops.containsShop("old shop"));
        store.favoriteShops.addFavoriteShop("new shop", "/n.png");
        CTaobaoLocalStore::addFeedRecord(store.history, record("viewed", 3));
        CTaobaoLocalStore::addFeedRecord(store.favorites, record("liked", 4));
        CTaobaoDataStore::release();
    }
    EXPECT_NE(TempDir::read(directory.dataFile("history.xml")).find("<num_iid>viewed</num_iid>"), std::string::npos);
    EXPECT_NE(TempDir::read(directory.dataFile("favorite.xml")).find("<num_iid>liked</num_iid>"), std::string::npos);

    CTaobaoDataStore& next = CTaobaoDataStore::getInstance();
    EXPECT_EQ(next.favoriteShops.shopCount(), 2);
    EXPECT_EQ(next.favorites.feedCount(), 0);
    next.loadFavorites();
    next.loadHistory();
    EXPECT_TRUE(next.favorites.containsFeed("liked"));
    EXPECT_TRUE(next.history.containsFeed("viewed"));
}

// Worker threads fill and read the containers while the user interface
// starts new browses; run under ThreadSanitizer this also proves the locking.
TEST(DataStore, ContainersHoldUpUnderConcurrentUse)
{
    StoreDirectory directory;
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    std::atomic<bool> stop{false};
    std::atomic<int> copies{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < 3; ++w) {
        threads.emplace_back([&store, w] {
            for (int i = 0; i < 2000; ++i) {
                auto product = std::make_unique<CTaobaoProductInfo>();
                product->pic_url = "pic" + std::to_string(i);
                store.products.insertProduct(i % 400, std::move(product));
                store.connectInfo.markRequested(i % 400 / 200 * 200);
                store.connectInfo.setTotal(i);
                store.history.addFeed(record(std::to_string(w * 100 + i % 100), i % 37));
                store.favorites.removeFeed(std::to_string(i % 50));
                store.favorites.addFeed(record(std::to_string(i % 50), i % 13));
                store.categoryCounts.addCounts({std::to_string(i % 7)}, {"1"});
                store.shopCache.addShop(CTaobaoShopItem{"", "", "d", "b", "", "shop" + std::to_string(i % 20)});
                store.sellers.addSeller({"seller" + std::to_string(i % 30), "1", 1.0});
            }
        });
    }
    threads.emplace_back([&] {
        while (!stop) {
            CTaobaoProductInfo product;
            std::string url;
            CTaobaoProductInfoDetails feed;
            CTaobaoShopItem shop;
            CTaobaoUserItem seller;
            copies += store.products.copyProduct(7, product) + store.products.copyPictureURL(9, url);
            copies += store.history.copyFeedAt(3, 1, feed) + store.favorites.copyFeedAt(2, 3, feed);
            copies += store.shopCache.copyShopAt(1, shop) + store.sellers.copySeller("seller3", seller);
            store.connectInfo.isRequested(200);
            store.categories.isParentCategory("3");
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < 200; ++i) {
            store.resetBrowseData(1);
            store.categories.addCategories({CTaobaoCategory{"3", "c", "0", false}}, {"1"});
            std::vector<std::string> ids, counts;
            store.categoryCounts.copyCounts(ids, counts);
            EXPECT_EQ(ids.size(), counts.size());
        }
    });
    for (size_t t = 0; t < 3; ++t)
        threads[t].join();
    stop = true;
    for (size_t t = 3; t < threads.size(); ++t)
        threads[t].join();

    EXPECT_GT(copies.load(), 0);
    EXPECT_EQ(store.history.feedCount(), 300);
    EXPECT_EQ(store.favorites.feedCount(), 50);
    EXPECT_EQ(store.shopCache.shopCount(), 20);
    std::vector<CTaobaoProductInfoDetails> all;
    store.history.copyAllFeeds(all);
    EXPECT_EQ(all.size(), 300u);
    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::None);
}
