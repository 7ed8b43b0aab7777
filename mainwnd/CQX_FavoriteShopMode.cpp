#include "mainwnd/CQX_FavoriteShopMode.h"

#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CTopPanel.h"
#include "taobao/CTaobaoDataStore.h"

int CQX_FavoriteShopMode::GetProductCount() const
{
    const int count = CTaobaoDataStore::getInstance().favoriteShops.shopCount();
    auto& notice = CQX_NoticeBoard::getInstance();
    if (count == 0 && CQX_ModeManager::getInstance().GetCurrentKind() == ModeFavoriteShops &&
        notice.GetState() != CQX_NoticeBoard::ResultsPresent)
        notice.SetState(CQX_NoticeBoard::NoFavoriteShops);
    return count;
}

void CQX_FavoriteShopMode::OnClickProduct(int position)
{
    CTaobaoShopItem shop;
    if (!CTaobaoDataStore::getInstance().favoriteShops.copyShopAt(position, shop))
        return;
    EnterShop(shop.nick, shop.pic_path, true);
    CQX_SearchCondition::getInstance().DoSearch(0);
}
