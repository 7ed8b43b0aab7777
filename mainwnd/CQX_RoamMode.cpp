#include "mainwnd/CQX_RoamMode.h"

#include "download/CImageRequest.h"
#include "download/CTaobaoImageDownloader.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CTopPanel.h"
#include "platform/Browser.h"
#include "platform/Ticks.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsg_ShowRecommendItem.h"
#include "scene/CProductWall.h"
#include "service/CQXRecommendCatalogue.h"
#include "taobao/TaobaoText.h"

namespace {

const uint32_t kOpeningPageNoticeMs = 3000;

}

int CQX_RoamMode::GetProductCount() const
{
    return CQXRecommendCatalogue::getInstance().ItemCount();
}

void CQX_RoamMode::Display(const std::vector<int>& positions)
{
    auto& catalogue = CQXRecommendCatalogue::getInstance();
    const int searchId = CQX_GlobalVariable::getInstance().GetSearchID();
    for (int position : positions) {
        const CQXRecommendItem* item = catalogue.GetItem(position);
        if (!item)
            continue;
        CProductWall::getInstance().MarkPlaceholder(position);
        if (catalogue.IsPictureReady(position)) {
            ShowCard(position, searchId);
            continue;
        }
        CImageRequest request;
        request.position = position;
        request.searchId = searchId;
        request.url = item->pictureUrl;
        request.localPath = catalogue.PicturePath(position);
        request.preDownload = &CQX_RoamMode::PreDownloadImage;
        request.postDownload = &CQX_RoamMode::PostDownloadImage;
        CTaobaoImageDownloader::getInstance().PushRequest(request);
    }
}

void CQX_RoamMode::ShowCard(int position, int searchId)
{
    CHeavyCostRenderMsgQueue::getInstance().PushToTail(
        std::make_unique<CRenderMsg_ShowRecommendItem>(position, searchId));
}

// A request of an earlier class must not mark a picture of the current one:
// the same position names another recommendation there.
int CQX_RoamMode::PreDownloadImage(CImageRequest& request)
{
    auto& catalogue = CQXRecommendCatalogue::getInstance();
    if (request.searchId != CQX_GlobalVariable::getInstance().GetSearchID() || !catalogue.GetItem(request.position))
        return CImageRequest::Drop;
    return catalogue.IsPictureReady(request.position) ? CImageRequest::SkipDownload : CImageRequest::Download;
}

int CQX_RoamMode::PostDownloadImage(CImageRequest& request)
{
    auto& catalogue = CQXRecommendCatalogue::getInstance();
    if (request.searchId != CQX_GlobalVariable::getInstance().GetSearchID())
        return 0;
    // A failed download left the placeholder's path: the picture is tried again next time.
    if (request.localPath == catalogue.PicturePath(request.position))
        catalogue.MarkPictureReady(request.position);
    ShowCard(request.position, request.searchId);
    return 0;
}

std::unique_ptr<CQX_HistoryEntry> CQX_RoamMode::CreateHistoryEntry() const
{
    return MakeHistoryEntry(std::to_string(CQXRecommendCatalogue::getInstance().GetCurrentClass()));
}

void CQX_RoamMode::Activate()
{
    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::ResultsPresent);
    CQX_BaseMode::Activate();
}

void CQX_RoamMode::OnClickProduct(int position)
{
    const CQXRecommendItem* item = CQXRecommendCatalogue::getInstance().GetItem(position);
    if (!item || item->name.empty())
        return;
    if (item->type == CQXRecommendItem::Product)
        OpenLink(*item);
    else
        ApplyItem(*item);
}

void CQX_RoamMode::OpenLink(const CQXRecommendItem& item)
{
    if (item.productLink.empty())
        return;
    OpenURLInBrowser(item.productLink);
    CQX_NoticeBoard::getInstance().SetState(CQX_NoticeBoard::OpeningWebPage, GetTickCount() + kOpeningPageNoticeMs);
    CQX_GlobalVariable::getInstance().IncPagesOpened();
}

void CQX_RoamMode::ApplyItem(const CQXRecommendItem& item)
{
    CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    condition.ResetCondition();
    if (item.lowPrice > 0)
        condition.startPrice = item.lowPrice;
    if (item.highPrice > 0 && item.highPrice >= item.lowPrice)
        condition.endPrice = item.highPrice;
    if (!item.categoryId.empty())
        condition.category = item.categoryId;
    if (!item.propertyFilter.empty())
        condition.properties = item.propertyFilter;
    condition.mall = item.mall;
    condition.prepay = item.prepay;
    condition.guarantee = item.guarantee;
    condition.affiliate = item.affiliate;
    if (item.type == CQXRecommendItem::Shop) {
        EnterShop(item.name, item.pictureUrl, false);
        CTopPanel::getInstance().SetKeywordText("");
        CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActShopEntered);
    } else {
        SearchKeyword(item);
    }
    if (item.byVolume) {
        condition.sortType = CQX_SearchSnapshot::SortByVolume;
        condition.sortFlag = false;
    }
    condition.DoSearch(0);
    CQX_GlobalVariable::getInstance().IncRecommendationsApplied();
}

void CQX_RoamMode::SearchKeyword(const CQXRecommendItem& item)
{
    CQX_ModeManager::getInstance().SwitchMode(ModeSimpleSearch);
    CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    std::string keyword = item.name;
    AnsiToUTF8(keyword);
    condition.keyword = keyword;
    condition.sortType = CQX_SearchSnapshot::SortByCredit;
    condition.sortFlag = false;
    CTopPanel::getInstance().SetKeywordText(keyword);
}
