#include "mainwnd/CQX_FavoriteShopMode.h"

#include "download/CTaobaoImageDownloader.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CTopPanel.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "platform/AppFolders.h"
#include "render/CRenderMsg_ShowFavoriteShop.h"
#include "taobao/CTaobaoDataStore.h"

#include <fstream>

namespace {

int PreDownloadShopPicture(CImageRequest& request)
{
    const bool atHand = request.url.empty() || std::ifstream(AppFolders::Resolve(request.localPath)).is_open();
    return atHand ? CImageRequest::SkipDownload : CImageRequest::Download;
}

int PostDownloadShopPicture(CImageRequest& request)
{
    CHeavyCostRenderMsgQueue::getInstance().PushToTail(
        std::make_unique<CRenderMsg_ShowFavoriteShop>(request.position, request.searchId));
    return 0;
}

}

void CQX_FavoriteShopMode::Display(const std::vector<int>& positions)
{
    const auto& shops = CTaobaoDataStore::getInstance().favoriteShops;
    const int searchId = CQX_GlobalVariable::getInstance().GetSearchID();
    for (int position : positions) {
        CTaobaoShopItem shop;
        if (!shops.copyShopAt(position, shop))
            continue;
        CImageRequest request;
        request.position = position;
        request.searchId = searchId;
        request.url = shop.pic_path;
        request.localPath = CRenderMsg_ShowFavoriteShop::LocalPicturePath(shop.pic_path);
        request.preDownload = &PreDownloadShopPicture;
        request.postDownload = &PostDownloadShopPicture;
        CTaobaoImageDownloader::getInstance().PushRequest(request);
    }
}

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
