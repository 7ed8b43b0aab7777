#include "download/CTaobaoDownloader.h"

#include "download/CTaobaoImageDownloader.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/ThreadFaults.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsgQueue.h"
#include "render/CWallView.h"
#include "render/CRenderMsg_Shop_Completed.h"
#include "render/CRenderMsg_ShowDefaultProductSnapshot.h"
#include "render/CRenderMsg_ShowProductDetail_Shop_Completed.h"
#include "render/CRenderMsg_ShowProductSnapshot.h"
#include "render/CRenderMsg_User_Completed.h"
#include "taobao/CTaobaoConnector.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/CTaobaoLocalStore.h"
#include "taobao/TaobaoText.h"

#include <cstdio>

namespace {

const int kSearchModeId = 0;
const char* const kAuctionType = "auction";
const char* const kAuctionText = "拍卖";
const char* const kFixedPriceText = "一口价";

CTaobaoDataStore& Store()
{
    return CTaobaoDataStore::getInstance();
}

int CurrentSearchId()
{
    return CQX_GlobalVariable::getInstance().GetSearchID();
}

std::string Utf8(std::string text)
{
    AnsiToUTF8(text);
    return text;
}

// Card text is in the system code page, like the product's title.
std::string SaleTypeText(const std::string& type)
{
    std::string text = type == kAuctionType ? kAuctionText : kFixedPriceText;
    UTF8ToAnsi(text);
    return text;
}

std::string PicturePath(int number)
{
    char path[64];
    std::snprintf(path, sizeof path, CTaobaoDownloader::kPictureFileFormat, number);
    return path;
}

}

CTaobaoDownloader& CTaobaoDownloader::getInstance()
{
    static CTaobaoDownloader instance(CTaobaoImageDownloader::getInstance());
    return instance;
}

CTaobaoDownloader::CTaobaoDownloader(CTaobaoImageDownloader& images) : m_images(images)
{
    // What the threads use must outlive them: touching it here makes the
    // process destroy it after this object (the data store lives on the heap).
    CQX_GlobalVariable::getInstance();
    CRenderMsgQueue::getInstance();
    CHeavyCostRenderMsgQueue::getInstance();
    m_productsThread = std::thread(&CTaobaoDownloader::downloadProductsImpl, this);
    m_detailsThread = std::thread(&CTaobaoDownloader::downloadProductDetailsImpl, this);
    m_categoriesThread = std::thread(&CTaobaoDownloader::downloadCategoriesImpl, this);
}

CTaobaoDownloader::~CTaobaoDownloader()
{
    Stop();
}

void CTaobaoDownloader::Stop()
{
    m_stopping.store(true);
    m_productsEvent.set();
    m_detailsEvent.set();
    m_categoriesEvent.set();
    for (std::thread* thread : {&m_productsThread, &m_detailsThread, &m_categoriesThread}) {
        if (thread->joinable())
            thread->join();
    }
    m_images.Stop();
}

bool CTaobaoDownloader::IsRunning() const
{
    return m_productsThread.joinable() || m_detailsThread.joinable() || m_categoriesThread.joinable() ||
           m_images.IsRunning();
}

bool CTaobaoDownloader::IsStopping() const
{
    return m_stopping.load() || CQX_GlobalVariable::getInstance().IsQuitting();
}

void CTaobaoDownloader::downloadProducts(const std::vector<int>& positions)
{
    m_productQueue.Replace(positions);
    m_images.ClearRequests();
    m_productsEvent.set();
}

size_t CTaobaoDownloader::PendingProducts() const
{
    return m_productQueue.Size();
}

// Each request is served under the search id current when it was taken. A
// woken thread works until the queue is empty, unless serve asks it to wait
// for the next wake-up.
template <typename Request, typename Serve>
void CTaobaoDownloader::WorkQueue(Poco::Event& wake, CRequestQueue<Request>& queue, Serve serve)
{
    while (!IsStopping()) {
        wake.wait();
        Request request;
        for (int searchId = CurrentSearchId(); !IsStopping() && queue.Take(request); searchId = CurrentSearchId()) {
            bool goOn = true;
            ThreadFaults::Run("downloader", [&] { goOn = serve(request, searchId); });
            if (!goOn)
                break;
        }
    }
}

void CTaobaoDownloader::downloadProductsImpl()
{
    WorkQueue(m_productsEvent, m_productQueue, [this](int position, int searchId) {
        ServeProduct(position, searchId);
        return true;
    });
}

// A marketplace page holds 200 products: the other positions of a page
// already fetched cost no request.
void CTaobaoDownloader::ServeProduct(int position, int searchId)
{
    if (!CWallView::getInstance().IsKept(position))
        return;
    CTaobaoDataStore& store = Store();
    if (!store.products.contains(position)) {
        const bool paged = store.getBrowseSource() == CTaobaoDataStore::ItemsSearch;
        const int pageKey = paged ? position - position % kSearchPageSize : position;
        if (!store.connectInfo.isRequested(pageKey) && !CTaobaoConnector::fetchProductInfo(position, searchId))
            return;
    }
    QueuePicture(position, searchId);
    TriggerCategories();
}

void CTaobaoDownloader::QueuePicture(int position, int searchId)
{
    std::string url;
    if (!Store().products.copyPictureURL(position, url))
        return;
    CImageRequest request;
    request.position = position;
    request.searchId = searchId;
    request.url = url + kThumbnailSuffix;
    request.localPath = PicturePath(m_pictureCounter++);
    request.preDownload = &CTaobaoDownloader::PreDownloadImage;
    request.postDownload = &CTaobaoDownloader::PostDownloadImage;
    m_images.PushRequest(request);
}

// The left panel's categories and properties follow the search: load them
// while the search's category is unknown, has subcategories, or lacks its
// property values.
void CTaobaoDownloader::TriggerCategories()
{
    CTaobaoDataStore& store = Store();
    const std::string cid = store.copyCategoryId();
    if (cid.empty() || store.categories.isParentCategory(cid) || store.properties.needsProperties(cid))
        m_categoriesEvent.set();
}

// A position the wall no longer keeps, or whose card is on its way already
// (the wall asks again every time its first visible index changes), costs
// nothing more.
int CTaobaoDownloader::PreDownloadImage(CImageRequest& request)
{
    if (!CWallView::getInstance().IsKept(request.position))
        return CImageRequest::Drop;
    request.claim = CCardClaims::getInstance().TryClaim(request.searchId, request.position);
    if (!request.claim)
        return CImageRequest::Drop;
    auto placeholder = std::make_unique<CRenderMsg_ShowDefaultProductSnapshot>(request.position, request.searchId);
    placeholder->HoldClaim(request.claim);
    CRenderMsgQueue::getInstance().PushNormalMsg(std::move(placeholder));
    CTaobaoDataStore& store = Store();
    std::string url;
    if (!store.products.copyPictureURL(request.position, url))
        return CImageRequest::Drop;
    if (url.empty() || url == kNoPicturePath) {
        request.localPath = kNoPicturePath;
        return CImageRequest::SkipDownload;
    }
    if (store.pictures.copy(url, request.localPath))
        return CImageRequest::SkipDownload;
    return CImageRequest::Download;
}

int CTaobaoDownloader::PostDownloadImage(CImageRequest& request)
{
    if (request.searchId != CurrentSearchId())
        return 0;
    CTaobaoDataStore& store = Store();
    CTaobaoProductInfo product;
    if (!store.products.copyProduct(request.position, product))
        return 0;
    store.pictures.insert({product.pic_url, request.localPath});
    CRenderMsg_ShowProductSnapshot::Card card;
    card.num_iid = product.num_iid;
    card.title = product.title;
    card.price = product.price;
    card.volume = product.volume;
    card.saleType = SaleTypeText(product.type);
    card.picturePath = request.localPath;
    auto msg = std::make_unique<CRenderMsg_ShowProductSnapshot>(
        request.position, request.searchId, CQX_GlobalVariable::getInstance().GetCurrentModeId(), std::move(card));
    msg->HoldClaim(request.claim);
    CHeavyCostRenderMsgQueue::getInstance().PushToTail(std::move(msg));
    return 1;
}

void CTaobaoDownloader::PushDetailRequest(const CDetailRequest& request)
{
    m_detailQueue.PushFront(request);
    m_detailsEvent.set();
}

void CTaobaoDownloader::downloadProductDetails(int position)
{
    PushDetailRequest({CDetailRequest::ProductDetails, position, std::string()});
}

// The shop cache is keyed by the nick in the system code page; the
// marketplace is asked in UTF-8.
void CTaobaoDownloader::requestShopInfo(const std::string& nick)
{
    CTaobaoShopItem shop;
    if (Store().shopCache.copyShop(nick, shop))
        CRenderMsgQueue::getInstance().PushUrgentMsgToHead(
            std::make_unique<CRenderMsg_Shop_Completed>(CurrentSearchId(), shop));
    else
        PushDetailRequest({CDetailRequest::Shop, 0, Utf8(nick)});
}

// The seller cache, the marketplace and the seller message all use UTF-8.
void CTaobaoDownloader::requestUserInfo(const std::string& nick)
{
    const std::string utf8Nick = Utf8(nick);
    CTaobaoUserItem seller;
    if (Store().sellers.copySeller(utf8Nick, seller))
        CRenderMsgQueue::getInstance().PushUrgentMsgToHead(std::make_unique<CRenderMsg_User_Completed>(
            CurrentSearchId(), seller.nick, seller.credit, seller.reputation));
    else
        PushDetailRequest({CDetailRequest::Seller, 0, utf8Nick});
}

size_t CTaobaoDownloader::PendingDetails() const
{
    return m_detailQueue.Size();
}

void CTaobaoDownloader::downloadProductDetailsImpl()
{
    WorkQueue(m_detailsEvent, m_detailQueue,
              [this](const CDetailRequest& request, int searchId) { return ServeDetail(request, searchId); });
}

bool CTaobaoDownloader::ServeDetail(const CDetailRequest& request, int searchId)
{
    switch (request.kind) {
    case CDetailRequest::ProductDetails:
        return ServeProductDetails(request.position, searchId);
    case CDetailRequest::Shop:
        CTaobaoConnector::fetchShopInfo(request.nick, searchId);
        return true;
    default:
        CTaobaoConnector::fetchSellerInfo(request.nick, nullptr, searchId);
        return true;
    }
}

bool CTaobaoDownloader::ServeProductDetails(int position, int searchId)
{
    if (position < 0)
        return true;
    CTaobaoDataStore& store = Store();
    if (!store.products.contains(position) && !CTaobaoConnector::fetchProductInfo(position, searchId))
        return false;
    CTaobaoProductInfo product;
    if (!store.products.copyProduct(position, product))
        return true;
    if (searchId != CurrentSearchId())
        return false;
    CTaobaoProductInfoDetails details(product);
    if (!CTaobaoConnector::fetchProductInfoDetails(details, position, searchId))
        return true;
    CRenderMsgQueue::getInstance().PushUrgentMsg(
        std::make_unique<CRenderMsg_ShowProductDetail_Shop_Completed>(position, searchId, details));
    if (CTaobaoLocalStore::addFeedRecord(store.history, details))
        CQX_GlobalVariable::getInstance().IncDetailsViewed();
    CTaobaoConnector::fetchTaobaokeProductURL(details.num_iid, position, searchId);
    return true;
}

void CTaobaoDownloader::downloadCategoriesImpl()
{
    while (!IsStopping()) {
        m_categoriesEvent.wait();
        if (!IsStopping())
            ThreadFaults::Run("categories", [this] { LoadCategories(); });
    }
}

// Only a marketplace search that is not limited to one shop offers
// categories and properties.
void CTaobaoDownloader::LoadCategories()
{
    CTaobaoDataStore& store = Store();
    const CTaobaoSearchParams search = store.copySearch();
    if (!search.nicks.empty() || CQX_GlobalVariable::getInstance().GetCurrentModeId() != kSearchModeId)
        return;
    const std::string cid = store.copyCategoryId();
    const int searchId = CurrentSearchId();
    const bool parent = store.categories.isParentCategory(cid);
    if (cid.empty() || (parent && !store.categories.hasChildren(cid))) {
        std::vector<std::string> ids, counts;
        if (store.categoryCounts.copyCounts(ids, counts))
            CTaobaoConnector::fetchCategoryInfo(searchId);
    } else if (!parent && store.properties.needsProperties(cid)) {
        CTaobaoConnector::fetchPropertyInfo(cid, searchId);
    }
}
