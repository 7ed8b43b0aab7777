#pragma once
#include "taobao/CTaobaoCategoryCounts.h"
#include "taobao/CTaobaoCategoryMap.h"
#include "taobao/CTaobaoConnectInfoMap.h"
#include "taobao/CTaobaoFeedMap.h"
#include "taobao/CTaobaoMap.h"
#include "taobao/CTaobaoProductMap.h"
#include "taobao/CTaobaoPropertyStorage.h"
#include "taobao/CTaobaoSearchParams.h"
#include "taobao/CTaobaoShopMap.h"
#include "taobao/CTaobaoUserMap.h"

#include <Poco/Mutex.h>

#include <atomic>
#include <mutex>
#include <string>

class CTaobaoParamList;

// Everything the client knows about the marketplace: the current browse and
// search, the lists kept between runs and the caches. One per process,
// created on first use and released at program end.
class CTaobaoDataStore
{
public:
    // What a narrowed browse keeps: the categories found so far when a
    // category is chosen, the properties shown when a property is chosen.
    enum BrowseKeep
    {
        KeepNothing,
        KeepCategories,
        KeepProperties,
    };

    enum BrowseSource
    {
        ItemsSearch = 0,
        AffiliateSearch = 1,
        ViewedToday = 2,
        FavoriteProducts = 3,
    };

    static const char* const kHistoryFile;
    static const char* const kFavoritesFile;
    static const char* const kFavoriteShopsFile;

    static CTaobaoDataStore& getInstance();
    // Saves the three kept lists and destroys the store; false when a list
    // could not be saved (the log and stderr say which).
    static bool release();

    // A new browse begins: forgets its products, pages, pictures, categories
    // and properties, and drops the render messages and picture requests
    // still queued for the old one. The reason code is the caller's and
    // changes nothing; a narrowed browse keeps its categories or properties.
    void resetBrowseData(int reason, BrowseKeep keep = KeepNothing);
    // Held by resetBrowseData: a page checked against the current search and
    // inserted under it can never land in a browse begun in between.
    std::unique_lock<std::mutex> lockBrowse() { return std::unique_lock<std::mutex>(m_browseLock); }

    // The search record is written by the user interface and read by the
    // download threads, so it is only reached through these.
    CTaobaoSearchParams copySearch() const;
    void setSearch(const CTaobaoSearchParams& search);
    void addSearchParams(CTaobaoParamList& list);
    std::string copyCategoryId() const;

    int getBrowseSource() const { return m_browseSource.load(); }
    void setBrowseSource(int source) { m_browseSource.store(source); }

    void loadHistory();
    void loadFavorites();
    bool saveHistory();
    bool saveFavorites();
    void loadFavoriteShops();
    bool saveFavoriteShops();
    // History, favourites, favourite shops, in that order; true when all three were saved.
    bool saveLists();

    CTaobaoProductMap products;
    CTaobaoMap<std::string, std::string> pictures;
    CTaobaoConnectInfoMap connectInfo;
    CTaobaoFeedMap history;
    CTaobaoFeedMap favorites;
    CTaobaoCategoryCounts categoryCounts;
    CTaobaoCategoryMap categories;
    CTaobaoPropertyStorage properties;
    CTaobaoShopMap shopCache;
    CTaobaoShopMap favoriteShops;
    CTaobaoUserMap sellers;

    CTaobaoDataStore(const CTaobaoDataStore&) = delete;
    CTaobaoDataStore& operator=(const CTaobaoDataStore&) = delete;

private:
    CTaobaoDataStore();
    ~CTaobaoDataStore();

    static Poco::Mutex s_creationLock;
    static std::atomic<CTaobaoDataStore*> s_instance;

    mutable Poco::FastMutex m_searchLock;
    std::mutex m_browseLock;
    CTaobaoSearchParams m_search;
    std::atomic<int> m_browseSource{ItemsSearch};
};
