#include "TempDir.h"

#include "taobao/CTaobaoFeedMap.h"
#include "taobao/CTaobaoLocalStore.h"
#include "taobao/CTaobaoParamList.h"
#include "taobao/CTaobaoShopMap.h"

#include <tinyxml.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <iterator>
#include <sys/stat.h>

namespace
{

// A product as the detail fetch leaves it: nick, title, state and city in GBK.
CTaobaoProductInfoDetails viewed(const std::string& num_iid)
{
    CTaobaoProductInfoDetails record;
    record.num_iid = num_iid;
    record.title = "\xC1\xAC\xD2\xC2\xC8\xB9 & more";  // 连衣裙
    record.nick = "\xB5\xEA\xD6\xF7";                    // 店主
    record.pic_url = "http://img/" + num_iid + ".jpg";
    record.type = "fixed";
    record.price = "12.50";
    record.credit = "1300";
    record.num = "4";
    record.delist_time = "2026-12-31 10:00:00";
    record.state = "\xD5\xE3\xBD\xAD";  // 浙江
    record.city = "\xBA\xBC\xD6\xDD";   // 杭州
    record.express_fee = "10.00";
    record.detail_url = "http://item/" + num_iid;
    record.reputation = 0.9492;
    return record;
}

std::string itemXml(const std::string& num_iid, const std::string& type, const std::string& credit)
{
    return "<item_list><num_iid>" + num_iid + "</num_iid><title>t" + num_iid + "</title><nick>n</nick>"
           "<pic_path>p</pic_path><type>" + type + "</type><price>3</price><credit>" + credit + "</credit>"
           "</item_list>";
}

std::vector<CTaobaoProductInfoDetails> allOf(const CTaobaoFeedMap& feeds)
{
    std::vector<CTaobaoProductInfoDetails> all;
    feeds.copyAllFeeds(all);
    return all;
}

}

TEST(LocalStore, FavouritesRoundTripWithTheirEncodings)
{
    TempDir dir;
    const std::string path = dir.file("data/favorite.xml");
    CTaobaoFeedMap favorites;
    EXPECT_TRUE(CTaobaoLocalStore::addFeedRecord(favorites, viewed("1")));
    EXPECT_FALSE(CTaobaoLocalStore::addFeedRecord(favorites, viewed("1")));
    ASSERT_TRUE(CTaobaoLocalStore::saveFeeds(favorites, path, CTaobaoLocalStore::Favorites));
    EXPECT_EQ(favorites.feedCount(), 0);

    std::string text = TempDir::read(path);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>", 0), 0u);
    EXPECT_NE(text.find("<state>浙江</state>"), std::string::npos);
    EXPECT_NE(text.find("<city>杭州</city>"), std::string::npos);
    EXPECT_NE(text.find("<nick>店主</nick>"), std::string::npos);
    EXPECT_NE(text.find("<reputation>0.95</reputation>"), std::string::npos);
    EXPECT_NE(text.find("<product_address>http://item/1</product_address>"), std::string::npos);
    EXPECT_EQ(text.find("<time>"), std::string::npos);

    CTaobaoFeedMap loaded;
    CTaobaoLocalStore::loadFeeds(loaded, path, CTaobaoLocalStore::Favorites);
    auto records = allOf(loaded);
    ASSERT_EQ(records.size(), 1u);
    const CTaobaoProductInfoDetails& back = records[0];
    CTaobaoProductInfoDetails original = viewed("1");
    EXPECT_EQ(back.title, original.title);
    EXPECT_EQ(back.nick, "店主");
    EXPECT_EQ(back.state, original.state);
    EXPECT_EQ(back.city, original.city);
    EXPECT_EQ(back.price, "12.50");
    EXPECT_EQ(back.credit, "1300");
    EXPECT_EQ(back.detail_url, original.detail_url);
    EXPECT_DOUBLE_EQ(back.reputation, 0.95);
    EXPECT_TRUE(back.volume.empty());
    EXPECT_TRUE(back.desc.empty());
}

TEST(LocalStore, ItemsWithoutTypeOrCreditSurviveARestart)
{
    TempDir dir;
    const std::string path = dir.file("favorite.xml");
    TempDir::write(path, "<?xml version=\"1.0\" encoding=\"utf-8\"?><items_list>" + itemXml("a", "", "") +
                             itemXml("b", "fixed", "") + "<item_list><num_iid>c</num_iid><nick>n</nick>"
                             "<pic_path>p</pic_path><price>1</price></item_list>" +
                             itemXml("a", "fixed", "9") + "</items_list>");
    CTaobaoFeedMap favorites;
    CTaobaoLocalStore::loadFeeds(favorites, path, CTaobaoLocalStore::Favorites);
    auto records = allOf(favorites);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].num_iid, "a");
    EXPECT_TRUE(records[0].type.empty());
    EXPECT_TRUE(records[0].credit.empty());
    EXPECT_EQ(records[1].num_iid, "b");
    EXPECT_EQ(records[1].price, "3.00");
}

TEST(LocalStore, RemovingTheLastFavouriteIsSaved)
{
    TempDir dir;
    const std::string path = dir.file("favorite.xml");
    TempDir::write(path, "<items_list>" + itemXml("a", "fixed", "1") + "</items_list>");
    CTaobaoFeedMap favorites;
    CTaobaoLocalStore::loadFeeds(favorites, path, CTaobaoLocalStore::Favorites);
    ASSERT_TRUE(favorites.removeFeed("a"));
    ASSERT_TRUE(CTaobaoLocalStore::saveFeeds(favorites, path, CTaobaoLocalStore::Favorites));

    CTaobaoFeedMap nextRun;
    CTaobaoLocalStore::loadFeeds(nextRun, path, CTaobaoLocalStore::Favorites);
    EXPECT_EQ(nextRun.feedCount(), 0);
}

TEST(LocalStore, AnUnusedListKeepsItsProductsBehindNewOnes)
{
    TempDir dir;
    const std::string path = dir.file("favorite.xml");
    TempDir::write(path, "<items_list>" + itemXml("old", "fixed", "1") + itemXml("new", "fixed", "1") +
                             "</items_list>");
    CTaobaoFeedMap favorites;
    CTaobaoLocalStore::addFeedRecord(favorites, viewed("new"));
    ASSERT_TRUE(CTaobaoLocalStore::saveFeeds(favorites, path, CTaobaoLocalStore::Favorites));

    CTaobaoFeedMap nextRun;
    CTaobaoLocalStore::loadFeeds(nextRun, path, CTaobaoLocalStore::Favorites);
    auto records = allOf(nextRun);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].num_iid, "new");
    EXPECT_EQ(records[0].credit, "1300");
    EXPECT_EQ(records[1].num_iid, "old");
}

TEST(LocalStore, HistoryFromAnotherDayIsIgnoredAndLoadHappensOnce)
{
    TempDir dir;
    const std::string path = dir.file("history.xml");
    TempDir::write(path, "<items_list>" + itemXml("a", "fixed", "1") + "<time>2001-01-01 23:59:59</time></items_list>");
    CTaobaoFeedMap history;
    CTaobaoLocalStore::loadFeeds(history, path, CTaobaoLocalStore::History);
    EXPECT_EQ(history.feedCount(), 0);
    EXPECT_TRUE(history.isLoaded());

    TempDir::write(path, "<items_list>" + itemXml("a", "fixed", "1") + "<time>" + makeTimestamp() + "</time></items_list>");
    CTaobaoLocalStore::loadFeeds(history, path, CTaobaoLocalStore::History);
    EXPECT_EQ(history.feedCount(), 0);

    CTaobaoFeedMap today;
    CTaobaoLocalStore::loadFeeds(today, path, CTaobaoLocalStore::History);
    EXPECT_EQ(today.feedCount(), 1);
}

TEST(LocalStore, HistoryDayRule)
{
    EXPECT_TRUE(CTaobaoLocalStore::isSameDay("2026-12-09 00:00:01", "2026-12-09 23:59:59"));
    EXPECT_FALSE(CTaobaoLocalStore::isSameDay("2026-12-08 23:59:59", "2026-12-09 00:00:01"));
    EXPECT_FALSE(CTaobaoLocalStore::isSameDay("", "2026-12-09 00:00:01"));
    EXPECT_FALSE(CTaobaoLocalStore::isSameDay("2026-12", "2026-12-09 00:00:01"));
}

TEST(LocalStore, HistoryIsWrittenWithItsTime)
{
    TempDir dir;
    const std::string path = dir.file("history.xml");
    CTaobaoFeedMap history;
    CTaobaoLocalStore::addFeedRecord(history, viewed("7"));
    ASSERT_TRUE(CTaobaoLocalStore::saveFeeds(history, path, CTaobaoLocalStore::History));
    TiXmlDocument document;
    ASSERT_TRUE(document.LoadFile(path.c_str()));
    const TiXmlElement* root = document.RootElement();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ValueStr(), "items_list");
    const TiXmlElement* time = root->FirstChildElement("time");
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(std::string(time->GetText()).substr(0, 10), makeTimestamp().substr(0, 10));
    EXPECT_EQ(root->LastChild()->ValueStr(), "time");
}

TEST(LocalStore, FavouriteShopsRoundTripAndEmptyListIsWritten)
{
    TempDir dir;
    const std::string path = dir.file("shop.xml");
    TempDir::write(path, "<shops><shop><nick>店主</nick><pic_path>/a.png</pic_path></shop>"
                         "<shop><nick>店主</nick><pic_path>/dup.png</pic_path></shop>"
                         "<shop><pic_path>/nonick.png</pic_path></shop><shop><nick>b</nick></shop></shops>");
    CTaobaoShopMap shops;
    CTaobaoLocalStore::loadShops(shops, path);
    std::vector<CTaobaoShopItem> items;
    shops.copyAllShops(items);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].nick, "\xB5\xEA\xD6\xF7");
    EXPECT_EQ(items[0].pic_path, "/a.png");
    EXPECT_EQ(items[0].bulletin, "暂无公告");
    EXPECT_TRUE(items[0].title.empty());

    ASSERT_TRUE(CTaobaoLocalStore::saveShops(shops, path));
    EXPECT_NE(TempDir::read(path).find("<nick>店主</nick>"), std::string::npos);
    shops.removeShop(items[0].nick);
    shops.removeShop(items[1].nick);
    ASSERT_TRUE(CTaobaoLocalStore::saveShops(shops, path));
    CTaobaoShopMap nextRun;
    CTaobaoLocalStore::loadShops(nextRun, path);
    EXPECT_EQ(nextRun.shopCount(), 0);
    EXPECT_NE(TempDir::read(path).find("<shops"), std::string::npos);
}

TEST(LocalStore, AFailedWriteLeavesTheOldFileWhole)
{
    TempDir dir;
    const std::string path = dir.file("data/favorite.xml");
    const std::string old = "<items_list>" + itemXml("a", "fixed", "1") + "</items_list>";
    TempDir::write(path, old);
    // The temporary file cannot be created where a directory stands in its way.
    std::filesystem::create_directory(path + ".tmp");
    CTaobaoFeedMap favorites;
    CTaobaoLocalStore::addFeedRecord(favorites, viewed("b"));
    EXPECT_FALSE(CTaobaoLocalStore::saveFeeds(favorites, path, CTaobaoLocalStore::Favorites));
    EXPECT_EQ(TempDir::read(path), old);
}

TEST(LocalStore, MissingOrBrokenFilesLoadNothing)
{
    TempDir dir;
    CTaobaoFeedMap missing;
    CTaobaoLocalStore::loadFeeds(missing, dir.file("none.xml"), CTaobaoLocalStore::Favorites);
    EXPECT_EQ(missing.feedCount(), 0);
    const std::string broken = dir.file("broken.xml");
    TempDir::write(broken, "<items_list>" + itemXml("a", "fixed", "1") + "<item_list><num_iid>");
    CTaobaoFeedMap partial;
    CTaobaoLocalStore::loadFeeds(partial, broken, CTaobaoLocalStore::Favorites);
    EXPECT_EQ(partial.feedCount(), 0);
    EXPECT_TRUE(partial.isLoaded());
}

TEST(LocalStore, AListFileThatDoesNotParseIsKeptAsideBeforeAnythingIsWritten)
{
    TempDir dir;
    const std::string favorites = dir.file("data/favorite.xml");
    const std::string shops = dir.file("data/shop.xml");
    const std::string truncated = "<items_list>" + itemXml("a", "fixed", "1") + "<item_list><num_iid>";
    const std::string handEdited = "<shops><shop><nick>n</nick></shop";
    TempDir::write(favorites, truncated);
    TempDir::write(shops, handEdited);

    CTaobaoFeedMap feeds;
    CTaobaoLocalStore::addFeedRecord(feeds, viewed("b"));
    ASSERT_TRUE(CTaobaoLocalStore::saveFeeds(feeds, favorites, CTaobaoLocalStore::Favorites));
    CTaobaoShopMap shopMap;
    CTaobaoLocalStore::loadShops(shopMap, shops);
    ASSERT_TRUE(CTaobaoLocalStore::saveShops(shopMap, shops));

    std::vector<std::string> keptAside;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("data")))
        if (entry.path().extension() == ".bad")
            keptAside.push_back(TempDir::read(entry.path().string()));
    std::sort(keptAside.begin(), keptAside.end());
    EXPECT_EQ(keptAside, (std::vector<std::string>{truncated, handEdited}));
    EXPECT_NE(TempDir::read(favorites).find("<num_iid>b</num_iid>"), std::string::npos);

    const std::string empty = dir.file("data/history.xml");
    TempDir::write(empty, "");
    CTaobaoFeedMap history;
    CTaobaoLocalStore::loadFeeds(history, empty, CTaobaoLocalStore::History);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("data")), {}), 5)
        << "an empty file holds nothing to keep aside";
}
