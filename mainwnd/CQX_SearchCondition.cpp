#include "mainwnd/CQX_SearchCondition.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_MainWnd.h"
#include "mainwnd/CQX_ModeKind.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/TaobaoText.h"

namespace {

// The record's sort orders (see CTaobaoSearchParams::sortOrder).
enum SortOrder
{
    NoSortOrder = 0,
    PriceDescending = 1,
    PriceAscending = 2,
    CreditDescending = 3,
    VolumeDescending = 4,
    ListingEndDescending = 5,
    ListingEndAscending = 6,
};

std::string ToAnsi(std::string text)
{
    UTF8ToAnsi(text);
    return text;
}

std::string ToUtf8(std::string text)
{
    AnsiToUTF8(text);
    return text;
}

bool IsSearchKind(int kind)
{
    return kind == ModeSearch || kind == ModeSimpleSearch || kind == ModeShop || kind == ModeUnknown;
}

}

CQX_SearchCondition& CQX_SearchCondition::getInstance()
{
    static CQX_SearchCondition instance;
    return instance;
}

void CQX_SearchCondition::ResetCondition()
{
    Restore(CQX_SearchSnapshot());
}

int CQX_SearchCondition::SortOrderFor(bool flag, int type)
{
    switch (type) {
    case SortByVolume: return flag ? NoSortOrder : VolumeDescending;
    case SortByTime: return flag ? ListingEndAscending : ListingEndDescending;
    case SortByCredit: return flag ? NoSortOrder : CreditDescending;
    case SortByPrice: return flag ? PriceAscending : PriceDescending;
    default: return NoSortOrder;
    }
}

bool CQX_SearchCondition::ApplySort(bool flag, int type)
{
    const int order = SortOrderFor(flag, type);
    if (order == NoSortOrder)
        return false;
    auto& store = CTaobaoDataStore::getInstance();
    CTaobaoSearchParams search = store.copySearch();
    search.sortOrder = order;
    store.setSearch(search);
    store.resetBrowseData(1);
    return true;
}

void CQX_SearchCondition::PrepareNewBrowse(int first)
{
    if (!m_owner)
        return;
    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::None);
    CQX_GlobalVariable::getInstance().SearchIDChange();
    m_owner->ResetWall(first);
    m_owner->DownloadProducts({});
}

bool CQX_SearchCondition::DoSearch(int first)
{
    if (!m_owner || !m_owner->HasDownloader())
        return false;
    auto& store = CTaobaoDataStore::getInstance();
    auto& global = CQX_GlobalVariable::getInstance();
    PrepareNewBrowse(first);
    const int kind = CQX_ModeManager::getInstance().GetCurrentMode().GetModeKind();
    CTaobaoSearchParams search;
    if (IsSearchKind(kind)) {
        CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::NewBrowse);
        FillSearchRecord(kind, search);
    } else if (kind == ModeFavoriteProducts || kind == ModeToday) {
        store.setBrowseSource(kind == ModeToday ? CTaobaoDataStore::ViewedToday : CTaobaoDataStore::FavoriteProducts);
        if (const int order = SortOrderFor(sortFlag, sortType))
            search.sortOrder = order;
    }
    store.setSearch(search);
    if (kind != ModeFavoriteShops && kind != ModeRoam) {
        store.resetBrowseData(1);
        global.SearchIDChange();
    }
    if (kind == ModeShop)
        m_owner->RequestShopAndSeller(nick);
    m_owner->Redisplay(true);
    m_owner->CloseDetailWindow();
    return true;
}

void CQX_SearchCondition::FillSearchRecord(int kind, CTaobaoSearchParams& search) const
{
    auto& store = CTaobaoDataStore::getInstance();
    const bool viaAffiliate = (kind == ModeSearch || kind == ModeSimpleSearch) && affiliate;
    store.setBrowseSource(viaAffiliate ? CTaobaoDataStore::AffiliateSearch : CTaobaoDataStore::ItemsSearch);
    if (viaAffiliate) {
        search.sortOrder = CreditDescending;
    } else {
        if (kind != ModeShop) {
            search.cid = category;
            search.props = properties;
            search.isPrepay = prepay;
            search.promoted = guarantee;
            search.isMall = mall;
        }
        if (const int order = SortOrderFor(sortFlag, sortType))
            search.sortOrder = order;
    }
    search.keyword = keyword;
    search.startPrice = startPrice;
    search.endPrice = endPrice;
    if (kind == ModeShop) {
        FillShopRecord(search);
        return;
    }
    CQX_GlobalVariable::getInstance().AddSearchWord(ToAnsi(keyword));
    search.province = location;
    search.nicks.clear();
}

void CQX_SearchCondition::FillShopRecord(CTaobaoSearchParams& search) const
{
    CQX_GlobalVariable::getInstance().AddSearchWord(nick);
    search.nicks = ToUtf8(nick);
    search.sortOrder = VolumeDescending;
    search.city.clear();
    search.province.clear();
}

bool CQX_SearchCondition::SetSort(int type, bool flag)
{
    if (!m_owner)
        return false;
    PrepareNewBrowse(0);
    if (!ApplySort(flag, type))
        return false;
    sortType = type;
    sortFlag = flag;
    CQX_GlobalVariable::getInstance().SearchIDChange();
    m_owner->Redisplay(true);
    m_owner->CloseDetailWindow();
    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::NewBrowse);
    return true;
}
