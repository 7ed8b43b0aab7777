#include "mainwnd/CQX_NoticeBoard.h"
#include "taobao/CTaobaoConnectInfoMap.h"
#include "taobao/CTaobaoFeedMap.h"
#include "taobao/CTaobaoProductMap.h"
#include "taobao/CTaobaoShopMap.h"
#include "taobao/CTaobaoUserMap.h"

#include <gtest/gtest.h>

namespace
{

std::unique_ptr<CTaobaoProductInfo> product(const std::string& num_iid)
{
    auto p = std::make_unique<CTaobaoProductInfo>();
    p->num_iid = num_iid;
    p->pic_url = "http://pic/" + num_iid + ".jpg";
    return p;
}

CTaobaoProductInfoDetails feed(const std::string& num_iid, const std::string& price, const std::string& credit = "")
{
    CTaobaoProductInfoDetails record;
    record.num_iid = num_iid;
    record.price = price;
    record.credit = credit;
    return record;
}

CTaobaoShopItem shop(const std::string& nick, const std::string& desc)
{
    CTaobaoShopItem item;
    item.nick = nick;
    item.desc = desc;
    item.bulletin = desc + " news";
    item.title = "title of " + nick;
    return item;
}

std::string numIidAt(CTaobaoFeedMap& feeds, int index, int sortOrder)
{
    CTaobaoProductInfoDetails out;
    return feeds.copyFeedAt(index, sortOrder, out) ? out.num_iid : "none";
}

}

TEST(ProductMap, FirstProductAtAPositionWins)
{
    CTaobaoProductMap products;
    EXPECT_TRUE(products.empty());
    products.insertProduct(3, product("first"));
    products.insertProduct(3, product("second"));
    products.insertProduct(4, nullptr);
    CTaobaoProductInfo out;
    ASSERT_TRUE(products.copyProduct(3, out));
    EXPECT_EQ(out.num_iid, "first");
    EXPECT_EQ(products.size(), 1u);
    std::string url;
    EXPECT_TRUE(products.copyPictureURL(3, url));
    EXPECT_EQ(url, "http://pic/first.jpg");
    out.num_iid = "untouched";
    EXPECT_FALSE(products.copyProduct(4, out));
    EXPECT_EQ(out.num_iid, "untouched");
}

TEST(ProductMap, InsertProductsPairsPositionsWithRecords)
{
    CTaobaoProductMap products;
    products.insertProduct(401, product("kept"));
    CTaobaoProductMap::Products page;
    page.push_back(product("a"));
    page.push_back(product("b"));
    page.push_back(product("c"));
    products.insertProducts({400, 401, 402}, std::move(page));
    CTaobaoProductInfo out;
    ASSERT_TRUE(products.copyProduct(401, out));
    EXPECT_EQ(out.num_iid, "kept");
    ASSERT_TRUE(products.copyProduct(402, out));
    EXPECT_EQ(out.num_iid, "c");
    products.clear();
    EXPECT_FALSE(products.copyProduct(400, out));
}

TEST(ConnectInfoMap, TotalsDriveTheNoticeBoard)
{
    CQX_NoticeBoard& board = CQX_NoticeBoard::getInstance();
    CTaobaoConnectInfoMap info;
    board.SetState(CQX_NoticeBoard::NewBrowse);
    info.setTotal(0);
    EXPECT_EQ(board.GetState(), CQX_NoticeBoard::NoSearchResult);
    info.setTotal(12);
    EXPECT_EQ(board.GetState(), CQX_NoticeBoard::ResultsPresent);
    info.setTotal(0);
    EXPECT_EQ(board.GetState(), CQX_NoticeBoard::ResultsPresent);
    EXPECT_EQ(info.getTotal(), 0);

    info.markRequested(400);
    info.markRequested(400);
    info.setTotal(7);
    EXPECT_TRUE(info.isRequested(400));
    EXPECT_FALSE(info.isRequested(0));
    info.clear();
    EXPECT_FALSE(info.isRequested(400));
    EXPECT_EQ(info.getTotal(), 0);
    board.SetState(CQX_NoticeBoard::None);
}

TEST(FeedMap, DuplicatesAreRefusedAndOrderKept)
{
    CTaobaoFeedMap feeds;
    EXPECT_TRUE(feeds.addFeed(feed("1", "5.00")));
    EXPECT_TRUE(feeds.addFeed(feed("2", "12.50")));
    EXPECT_FALSE(feeds.addFeed(feed("1", "99.00")));
    EXPECT_EQ(feeds.feedCount(), 2);
    CTaobaoProductInfoDetails out;
    ASSERT_TRUE(feeds.copyFeed("1", out));
    EXPECT_EQ(out.price, "5.00");
    std::vector<CTaobaoProductInfoDetails> all;
    ASSERT_TRUE(feeds.copyAllFeeds(all));
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].num_iid, "1");
    EXPECT_EQ(all[1].num_iid, "2");
}

TEST(FeedMap, SortedPositionsFollowTheSortOrder)
{
    CTaobaoFeedMap feeds;
    feeds.addFeed(feed("five", "5.00", "30"));
    feeds.addFeed(feed("twelve", "12.50", "7"));
    feeds.addFeed(feed("seven", "7.00", "100"));
    EXPECT_EQ(numIidAt(feeds, 0, 1), "twelve");
    EXPECT_EQ(numIidAt(feeds, 2, 1), "five");
    for (int order : {0, 2, 4, 5})
        EXPECT_EQ(numIidAt(feeds, 0, order), "five") << order;
    EXPECT_EQ(numIidAt(feeds, 0, 3), "seven");
    EXPECT_EQ(numIidAt(feeds, 1, 3), "five");
    EXPECT_EQ(numIidAt(feeds, 3, 3), "none");
    EXPECT_EQ(numIidAt(feeds, -1, 3), "none");

    // A new record is appended and the next sorted read sorts again.
    feeds.addFeed(feed("cheap", "1.00", "1"));
    EXPECT_EQ(numIidAt(feeds, 0, 2), "cheap");
    std::vector<CTaobaoProductInfoDetails> all;
    feeds.copyAllFeeds(all);
    EXPECT_EQ(all.back().num_iid, "twelve");
}

TEST(FeedMap, RemoveTakesTheRecordOutOfTheOrder)
{
    CTaobaoFeedMap feeds;
    feeds.addFeed(feed("a", "1"));
    feeds.addFeed(feed("b", "2"));
    feeds.addFeed(feed("c", "3"));
    EXPECT_TRUE(feeds.removeFeed("b"));
    EXPECT_FALSE(feeds.removeFeed("b"));
    EXPECT_FALSE(feeds.containsFeed("b"));
    EXPECT_EQ(feeds.feedCount(), 2);
    EXPECT_EQ(numIidAt(feeds, 1, 2), "c");
    feeds.clear();
    EXPECT_EQ(feeds.feedCount(), 0);
    EXPECT_TRUE(feeds.addFeed(feed("a", "1")));
}

TEST(FeedMap, LoadedOnlyOnce)
{
    CTaobaoFeedMap feeds;
    EXPECT_FALSE(feeds.isLoaded());
    EXPECT_TRUE(feeds.beginLoad());
    EXPECT_FALSE(feeds.beginLoad());
    EXPECT_TRUE(feeds.isLoaded());
}

TEST(ShopMap, AddShopUpdatesAKnownShopsTexts)
{
    CTaobaoShopMap shops;
    EXPECT_FALSE(shops.addShop(shop("n1", "old")));
    EXPECT_TRUE(shops.addShop(shop("n1", "new")));
    CTaobaoShopItem out;
    ASSERT_TRUE(shops.copyShop("n1", out));
    EXPECT_EQ(out.desc, "new");
    EXPECT_EQ(out.bulletin, "new news");
    EXPECT_EQ(out.title, "title of n1");
    EXPECT_FALSE(shops.addFavoriteShop("n2", "logo.png"));
    ASSERT_TRUE(shops.copyShopAt(1, out));
    EXPECT_EQ(out.pic_path, "logo.png");
    EXPECT_TRUE(out.desc.empty());
}

TEST(ShopMap, AddShopInfoKeepsTheFirstAndRemoveKeepsOrder)
{
    CTaobaoShopMap shops;
    EXPECT_TRUE(shops.addShopInfo(shop("a", "first")));
    EXPECT_FALSE(shops.addShopInfo(shop("a", "second")));
    EXPECT_TRUE(shops.addShopInfo(shop("b", "")));
    EXPECT_TRUE(shops.addShopInfo(shop("c", "")));
    CTaobaoShopItem out;
    ASSERT_TRUE(shops.copyShop("a", out));
    EXPECT_EQ(out.desc, "first");
    EXPECT_TRUE(shops.removeShop("b"));
    EXPECT_FALSE(shops.containsShop("b"));
    ASSERT_TRUE(shops.copyShopAt(1, out));
    EXPECT_EQ(out.nick, "c");
    EXPECT_FALSE(shops.copyShopAt(2, out));
    std::vector<CTaobaoShopItem> all;
    EXPECT_TRUE(shops.copyAllShops(all));
    EXPECT_EQ(all.size(), 2u);
}

TEST(UserMap, SellerCacheCopiesWhatWasStored)
{
    CTaobaoUserMap sellers;
    CTaobaoUserItem out;
    EXPECT_FALSE(sellers.copySeller("s", out));
    sellers.addSeller({"s", "1300", 0.9492});
    ASSERT_TRUE(sellers.copySeller("s", out));
    EXPECT_EQ(out.credit, "1300");
    EXPECT_DOUBLE_EQ(out.reputation, 0.9492);
}
