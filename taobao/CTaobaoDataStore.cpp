#include "taobao/CTaobaoDataStore.h"

#include "download/CTaobaoImageDownloader.h"
#include "platform/AppFolders.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsgQueue.h"
#include "taobao/CTaobaoLocalStore.h"
#include "taobao/CTaobaoParamList.h"

const char* const CTaobaoDataStore::kHistoryFile = "../datafiles/data/history.xml";
const char* const CTaobaoDataStore::kFavoritesFile = "../datafiles/data/favorite.xml";
const char* const CTaobaoDataStore::kFavoriteShopsFile = "../datafiles/data/shop.xml";

Poco::Mutex CTaobaoDataStore::s_creationLock;
std::atomic<CTaobaoDataStore*> CTaobaoDataStore::s_instance{nullptr};

CTaobaoDataStore& CTaobaoDataStore::getInstance()
{
    CTaobaoDataStore* store = s_instance.load(std::memory_order_acquire);
    if (store)
        return *store;
    Poco::Mutex::ScopedLock lock(s_creationLock);
    store = s_instance.load(std::memory_order_relaxed);
    if (!store) {
        store = new CTaobaoDataStore;
        s_instance.store(store, std::memory_order_release);
    }
    return *store;
}

bool CTaobaoDataStore::release()
{
    Poco::Mutex::ScopedLock lock(s_creationLock);
    CTaobaoDataStore* store = s_instance.exchange(nullptr);
    const bool saved = !store || store->saveLists();
    delete store;
    return saved;
}

CTaobaoDataStore::CTaobaoDataStore()
{
    loadFavoriteShops();
}

CTaobaoDataStore::~CTaobaoDataStore() = default;

bool CTaobaoDataStore::saveLists()
{
    // Each list is written whatever became of the one before.
    const bool history = saveHistory();
    const bool favoriteProducts = saveFavorites();
    const bool shops = saveFavoriteShops();
    return history && favoriteProducts && shops;
}

void CTaobaoDataStore::resetBrowseData(int, BrowseKeep keep)
{
    const auto browse = lockBrowse();
    products.clear();
    connectInfo.clear();
    CHeavyCostRenderMsgQueue::getInstance().Clear();
    CRenderMsgQueue::getInstance().Clear();
    pictures.clear();
    CTaobaoImageDownloader::getInstance().ClearRequests();
    categoryCounts.reset();
    if (keep != KeepCategories)
        categories.clear();
    if (keep != KeepProperties)
        properties.clear();
}

CTaobaoSearchParams CTaobaoDataStore::copySearch() const
{
    Poco::FastMutex::ScopedLock lock(m_searchLock);
    return m_search;
}

void CTaobaoDataStore::setSearch(const CTaobaoSearchParams& search)
{
    Poco::FastMutex::ScopedLock lock(m_searchLock);
    m_search = search;
}

void CTaobaoDataStore::addSearchParams(CTaobaoParamList& list)
{
    Poco::FastMutex::ScopedLock lock(m_searchLock);
    ::addSearchParams(m_search, list, getBrowseSource());
}

std::string CTaobaoDataStore::copyCategoryId() const
{
    Poco::FastMutex::ScopedLock lock(m_searchLock);
    return ::copyCategoryId(m_search);
}

void CTaobaoDataStore::loadHistory()
{
    CTaobaoLocalStore::loadFeeds(history, AppFolders::Resolve(kHistoryFile), CTaobaoLocalStore::History);
}

void CTaobaoDataStore::loadFavorites()
{
    CTaobaoLocalStore::loadFeeds(favorites, AppFolders::Resolve(kFavoritesFile), CTaobaoLocalStore::Favorites);
}

bool CTaobaoDataStore::saveHistory()
{
    return CTaobaoLocalStore::saveFeeds(history, AppFolders::Resolve(kHistoryFile), CTaobaoLocalStore::History);
}

bool CTaobaoDataStore::saveFavorites()
{
    return CTaobaoLocalStore::saveFeeds(favorites, AppFolders::Resolve(kFavoritesFile), CTaobaoLocalStore::Favorites);
}

void CTaobaoDataStore::loadFavoriteShops()
{
    CTaobaoLocalStore::loadShops(favoriteShops, AppFolders::Resolve(kFavoriteShopsFile));
}

bool CTaobaoDataStore::saveFavoriteShops()
{
    return CTaobaoLocalStore::saveShops(favoriteShops, AppFolders::Resolve(kFavoriteShopsFile));
}
