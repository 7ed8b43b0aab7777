#include "taobao/CTaobaoConnector.h"

#include "download/CTaobaoImageDownloader.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "platform/BoundedBodyReader.h"
#include "platform/HttpSessionFactory.h"
#include "platform/NetworkFailure.h"
#include "platform/SessionInterrupter.h"
#include "render/CRenderMsgQueue.h"
#include "render/CRenderMsg_CategoriesComplete.h"
#include "render/CRenderMsg_PropertiesComplete.h"
#include "render/CRenderMsg_Shop_Completed.h"
#include "render/CRenderMsg_ShowProductDetail_TAOBAOKEProductURL.h"
#include "render/CRenderMsg_ShowProductDetailsSnapshot.h"
#include "render/CRenderMsg_User_Completed.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/CTaobaoGateway.h"
#include "taobao/CTaobaoParamList.h"
#include "taobao/CTaobaoProductDetailsVisitor.h"
#include "taobao/CTaobaoSellerVisitor.h"
#include "taobao/CTaobaoShopVisitor.h"
#include "taobao/TaobaoApp.h"
#include "taobao/TaobaoCategoryDetailsVisitor.h"
#include "taobao/TaobaoCategoryVisitor.h"
#include "taobao/TaobaoErrorVisitor.h"
#include "taobao/TaobaoProductVisitor.h"
#include "taobao/TaobaoPropertyVisitor.h"
#include "taobao/TaobaoText.h"
#include "taobao/TaobaoXml.h"
#include "taobao/TaobaokeProductVisitor.h"
#include "taobao/TaobaokeVisitor.h"

#include <Poco/DigestEngine.h>
#include <Poco/Exception.h>
#include <Poco/MD5Engine.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/String.h>
#include <Poco/URI.h>

#include <memory>

namespace
{

const int kAttempts = 3;
const int kAllImageThreads = 2;
const int kSearchPageSize = 200;
const int kAffiliatePageSize = 40;
const size_t kMaxPropertyEntries = 1000;
// A page of 200 products is about 200 KB; anything near this is not an answer.
const size_t kMaxAnswerBytes = 8 * 1024 * 1024;
const int kTodayModeId = 3;
const int kFavoritesModeId = 2;

const char* const kSearchFields = "num_iid,title,pic_path,price,nick,type,volume";
const char* const kAffiliateFields = "num_iid,title,nick,pic_url,price";
const char* const kItemFields = "desc,express_fee,location,delist_time,num,detail_url";
const char* const kShopFields = "sid,cid,title,nick,desc,bulletin,pic_path,created,modified";
const char* const kPropertyFields = "cid,pid,prop_name,vid,name,name_alias,sort_order";
const char* const kCategoryFields = "cid,parent_cid,name,is_parent";

// The path part of the request target is escaped as a URL path; the query
// arrives already in wire form from the parameter list.
std::string requestTarget(const Poco::URI& uri)
{
    std::string target = CTaobaoParamList::percentEncode(uri.getPath(), "?#");
    if (target.empty())
        target = "/";
    if (!uri.getRawQuery().empty())
        target += "?" + uri.getRawQuery();
    return target;
}

bool categoryFiltered(const std::string& cid)
{
    return !cid.empty() && cid != "0" && cid != "-1";
}

std::string joined(const std::vector<std::string>& ids)
{
    std::string text;
    for (const std::string& id : ids) {
        if (!text.empty())
            text += ',';
        text += id;
    }
    return text;
}

CRenderMsgQueue& RenderQueue()
{
    return CRenderMsgQueue::getInstance();
}

// The ids in first-seen order, each once, and the first count seen for each:
// every search page reports the statistics of the whole search again.
void distinctCounts(const std::vector<std::string>& ids, const std::vector<std::string>& counts,
                    std::vector<std::string>& distinctIds, CTaobaoConnector::CountById& countById)
{
    for (size_t i = 0; i < ids.size() && i < counts.size(); ++i) {
        if (countById.emplace(ids[i], counts[i]).second)
            distinctIds.push_back(ids[i]);
    }
}

}

std::atomic<int> CTaobaoConnector::s_firstTimeoutMs{3000};
std::atomic<int> CTaobaoConnector::s_timeoutStepMs{2000};

std::string CTaobaoConnector::gatewayUrl()
{
    return CTaobaoGateway::current().url;
}

std::string CTaobaoConnector::md5HexUpper(const std::string& bytes)
{
    Poco::MD5Engine md5;
    md5.update(bytes);
    return Poco::toUpper(Poco::DigestEngine::digestToHex(md5.digest()));
}

std::string CTaobaoConnector::signRequest(CTaobaoParamList& list)
{
    list.sortByKey();
    list.addParam(TaobaoApp::kParamSign, md5HexUpper(list.signatureSource()));
    return list.buildQuery();
}

void CTaobaoConnector::setAttemptTimeouts(int firstMs, int stepMs)
{
    s_firstTimeoutMs.store(firstMs);
    s_timeoutStepMs.store(stepMs);
}

bool CTaobaoConnector::fetchProductInfoFromTaobao(const std::string& query, std::string& body)
{
    CTaobaoImageDownloader& images = CTaobaoImageDownloader::getInstance();
    // Picture downloads give way while an API request is in flight.
    images.SetActiveThreadCount(1);
    const std::string url = gatewayUrl() + query;
    int timeoutMs = s_firstTimeoutMs.load();
    const int stepMs = s_timeoutStepMs.load();
    bool success = false;
    // Quitting starts no other attempt.
    for (int attempt = 1; attempt <= kAttempts && !success && !SessionInterrupter::getInstance().IsInterrupted();
         ++attempt, timeoutMs += stepMs) {
        AttemptResult result = attemptRequest(url, timeoutMs, body);
        success = result == Accepted;
        // After one lost attempt only one picture thread may run, after two none.
        if (result == NoAnswer && attempt < kAttempts)
            images.SetActiveThreadCount(attempt == 1 ? 1 : 0);
    }
    if (images.GetActiveThreadCount() != kAllImageThreads)
        images.SetActiveThreadCount(kAllImageThreads);
    return success;
}

CTaobaoConnector::AttemptResult CTaobaoConnector::attemptRequest(const std::string& url, int timeoutMs,
                                                                 std::string& body)
{
    body.clear();
    try {
        Poco::URI uri(url);
        const std::unique_ptr<Poco::Net::HTTPClientSession> session = HttpSessionFactory::Open(uri);
        session->setTimeout(Poco::Timespan(static_cast<Poco::Timespan::TimeDiff>(timeoutMs) * 1000));
        Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, requestTarget(uri),
                                       Poco::Net::HTTPMessage::HTTP_1_1);
        session->sendRequest(request);
        const SessionInterrupter::Waiting waiting(*session);
        Poco::Net::HTTPResponse response;
        std::istream& in = session->receiveResponse(response);
        if (!BoundedBodyReader({kMaxAnswerBytes, std::chrono::milliseconds(timeoutMs)}).Read(in, body)) {
            NetworkFailure::Report("gateway", url, "answer past its size or time limit");
            return NoAnswer;
        }
        CQX_GlobalVariable::getInstance().IncRequestsSent();
        std::string reason;
        const AttemptResult result = classifyAnswer(body, response.getStatus(), reason);
        if (result != Accepted)
            NetworkFailure::Report("gateway", url, reason);
        return result;
    } catch (const std::exception& failure) {
        NetworkFailure::Report("gateway", url, NetworkFailure::Reason(failure));
        return NoAnswer;
    }
}

// A proxy's HTML error page or a server failure is no answer of the
// platform: treating it as one would show "no result" for a network fault.
CTaobaoConnector::AttemptResult CTaobaoConnector::classifyAnswer(const std::string& body, int status,
                                                                 std::string& reason)
{
    if (status >= Poco::Net::HTTPResponse::HTTP_INTERNAL_SERVER_ERROR) {
        reason = NetworkFailure::Status(status);
        return Rejected;
    }
    TaobaoErrorVisitor errors;
    if (!TaobaoXml::walk(body, errors))
        reason = "answer does not parse";
    else if (errors.isError())
        reason = "error answer";
    return reason.empty() ? Accepted : Rejected;
}

CTaobaoParamList CTaobaoConnector::newRequest(const char* method, const char* fields)
{
    CTaobaoParamList list;
    list.addParam(TaobaoApp::kParamAppKey, CTaobaoGateway::current().appKey);
    list.addParam(TaobaoApp::kParamMethod, method);
    list.addParam(TaobaoApp::kParamTimestamp, makeTimestamp());
    list.addParam(TaobaoApp::kParamVersion, TaobaoApp::kApiVersion);
    list.addParam("fields", fields);
    return list;
}

bool CTaobaoConnector::send(CTaobaoParamList& list, std::string& body)
{
    return fetchProductInfoFromTaobao(signRequest(list), body);
}

bool CTaobaoConnector::isCurrentSearch(int searchId)
{
    return searchId == CQX_GlobalVariable::getInstance().GetSearchID();
}

bool CTaobaoConnector::fetchProductInfo(int index, int searchId)
{
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    const int source = store.getBrowseSource();
    if (source == CTaobaoDataStore::ViewedToday || source == CTaobaoDataStore::FavoriteProducts)
        return showSavedProduct(index, source);
    if (index < 0 || !isCurrentSearch(searchId))
        return false;
    CQX_GlobalVariable::getInstance().IncPagesFetched();

    const bool affiliate = source == CTaobaoDataStore::AffiliateSearch;
    const int pageSize = affiliate ? kAffiliatePageSize : kSearchPageSize;
    const int page = index / pageSize;
    CTaobaoParamList list = affiliate ? newRequest("taobao.taobaoke.items.get", kAffiliateFields)
                                      : newRequest("taobao.items.search", kSearchFields);
    list.addParam("page_size", std::to_string(pageSize));
    list.addParam("page_no", std::to_string(page + 1));
    if (affiliate)
        list.addParam("nick", TaobaoApp::kAffiliateNick);
    store.addSearchParams(list);
    store.connectInfo.markRequested(affiliate ? index : page * kSearchPageSize);

    std::string body;
    if (!send(list, body) || body.empty()) {
        if (store.products.empty())
            CQX_NoticeBoard::getInstance().SetStateUnless(CQX_NoticeBoard::NetworkFailure,
                                                          CQX_NoticeBoard::ResultsPresent);
        return false;
    }
    std::vector<int> indices;
    CTaobaoProductMap::Products products;
    int total = 0;
    if (affiliate)
        parseTaobaokeProductList(body, page * pageSize, indices, products, total);
    else
        parseProductList(body, page * pageSize, indices, products, total);
    {
        const auto browse = store.lockBrowse();
        if (!isCurrentSearch(searchId))
            return false;
        store.products.insertProducts(indices, std::move(products));
        store.connectInfo.setTotal(total);
        if (!affiliate)
            collectCategoryCounts(body);
    }
    return true;
}

// The saved lists are browsed without the platform: position index of the
// list in the search's sort order becomes the product at index.
bool CTaobaoConnector::showSavedProduct(int index, int browseSource)
{
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    const bool today = browseSource == CTaobaoDataStore::ViewedToday;
    today ? store.loadHistory() : store.loadFavorites();
    CTaobaoFeedMap& feeds = today ? store.history : store.favorites;
    const int count = feeds.feedCount();
    if (count == 0) {
        const int modeShowingList = today ? kTodayModeId : kFavoritesModeId;
        if (CQX_GlobalVariable::getInstance().GetCurrentModeId() == modeShowingList)
            CQX_NoticeBoard::getInstance().SetStateUnless(
                today ? CQX_NoticeBoard::NothingViewedToday : CQX_NoticeBoard::NoFavoriteProducts,
                CQX_NoticeBoard::ResultsPresent);
        return true;
    }
    CTaobaoProductInfoDetails record;
    if (feeds.copyFeedAt(index, store.copySearch().sortOrder, record)) {
        store.connectInfo.setTotal(count);
        store.products.insertProduct(index, std::make_unique<CTaobaoProductInfo>(record.product()));
    }
    return true;
}

// A search already narrowed to a category without subcategories has no
// categories left to offer.
void CTaobaoConnector::collectCategoryCounts(const std::string& body)
{
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    std::string cid = store.copyCategoryId();
    if (!cid.empty() && !store.categories.isParentCategory(cid))
        return;
    TaobaoCategoryVisitor visitor;
    TaobaoXml::walk(body, visitor);
    store.categoryCounts.addCounts(visitor.ids, visitor.counts);
}

bool CTaobaoConnector::fetchProductInfoDetails(CTaobaoProductInfoDetails& record, int index, int searchId)
{
    std::string body;
    if (!fetchProductInfoDetails_Product(record.num_iid, record.nick, body))
        return false;
    CTaobaoProductDetailsVisitor visitor;
    TaobaoXml::walk(body, visitor);
    visitor.copyTo(record);
    const std::string utf8Nick = record.nick;
    UTF8ToAnsi(record.nick);
    RenderQueue().PushUrgentMsgToHead(std::make_unique<CRenderMsg_ShowProductDetailsSnapshot>(index, searchId, record));
    return fetchSellerInfo(utf8Nick, &record, searchId);
}

bool CTaobaoConnector::fetchProductInfoDetails_Product(const std::string& num_iid, const std::string& nick,
                                                       std::string& body)
{
    CTaobaoParamList list = newRequest("taobao.item.get", kItemFields);
    list.addParam("num_iid", num_iid);
    list.addParam("nick", nick);
    return send(list, body);
}

bool CTaobaoConnector::fetchSellerInfo(const std::string& nick, CTaobaoProductInfoDetails* record, int searchId)
{
    CTaobaoUserMap& sellers = CTaobaoDataStore::getInstance().sellers;
    CTaobaoUserItem seller;
    if (!sellers.copySeller(nick, seller)) {
        CTaobaoParamList list = newRequest("taobao.user.get", "seller_credit");
        list.addParam("nick", nick);
        std::string body;
        if (!send(list, body))
            return false;
        CTaobaoSellerVisitor visitor;
        TaobaoXml::walk(body, visitor);
        seller = makeUserItem(nick, visitor);
        if (!seller.credit.empty())
            sellers.addSeller(seller);
    }
    if (record) {
        record->credit = seller.credit;
        record->reputation = seller.reputation;
    } else {
        RenderQueue().PushUrgentMsgToHead(
            std::make_unique<CRenderMsg_User_Completed>(searchId, nick, seller.credit, seller.reputation));
    }
    return true;
}

bool CTaobaoConnector::fetchTaobaokeProductURL(const std::string& num_iid, int index, int searchId)
{
    std::string url;
    if (fetchTaobaokeProductURL_Convert(num_iid, url)) {
        CQX_GlobalVariable::getInstance().IncAffiliateConversions();
        RenderQueue().PushUrgentMsg(
            std::make_unique<CRenderMsg_ShowProductDetail_TAOBAOKEProductURL>(index, searchId, url));
    }
    return true;
}

bool CTaobaoConnector::fetchTaobaokeProductURL_Convert(const std::string& num_iid, std::string& url)
{
    CTaobaoParamList list = newRequest("taobao.taobaoke.items.convert", "click_url");
    list.addParam("num_iids", num_iid);
    list.addParam("nick", TaobaoApp::kAffiliateNick);
    std::string body;
    if (!send(list, body))
        return false;
    TaobaokeVisitor visitor;
    TaobaoXml::walk(body, visitor);
    if (visitor.clickUrl.empty())
        return false;
    url = visitor.clickUrl;
    return true;
}

bool CTaobaoConnector::fetchShopInfo(const std::string& nick, int searchId)
{
    CTaobaoParamList list = newRequest("taobao.shop.get", kShopFields);
    list.addParam("nick", nick);
    std::string body;
    if (!send(list, body))
        return false;
    CTaobaoShopVisitor visitor;
    TaobaoXml::walk(body, visitor);
    CTaobaoShopItem shop;
    if (makeShopItem(visitor, shop)) {
        CTaobaoDataStore::getInstance().shopCache.addShopInfo(shop);
        RenderQueue().PushUrgentMsgToHead(std::make_unique<CRenderMsg_Shop_Completed>(searchId, shop));
    }
    return true;
}

bool CTaobaoConnector::fetchPropertyInfo(const std::string& cid, int searchId)
{
    std::string body;
    if (!fetchPropertyInfo_PropValues(cid, body))
        return false;
    TaobaoPropertyVisitor visitor;
    TaobaoXml::walk(body, visitor);
    if (visitor.entries.size() > kMaxPropertyEntries)
        visitor.entries.resize(kMaxPropertyEntries);
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    store.properties.setProperties(visitor.entries, cid, store.copyCategoryId());
    RenderQueue().PushUrgentMsgToHead(std::make_unique<CRenderMsg_PropertiesComplete>(searchId));
    return true;
}

bool CTaobaoConnector::fetchPropertyInfo_PropValues(const std::string& cid, std::string& body)
{
    CTaobaoParamList list = newRequest("taobao.itempropvalues.get", kPropertyFields);
    list.addParam("cid", cid);
    list.addParam("datetime", "2005-01-01 00:00:00");
    return send(list, body);
}

bool CTaobaoConnector::fetchCategoryInfo(int searchId)
{
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    std::vector<std::string> ids;
    std::vector<std::string> counts;
    if (!store.categoryCounts.copyCounts(ids, counts))
        return false;
    std::vector<std::string> distinctIds;
    CountById countById;
    distinctCounts(ids, counts, distinctIds, countById);

    std::vector<CTaobaoCategory> records;
    if (!requestCategories(distinctIds, records))
        return false;
    if (!categoryFiltered(store.copyCategoryId())) {
        // Without a category filter the panel offers the parents of what was found.
        countById = rollUpCategoryCounts(records, countById);
        distinctIds.clear();
        for (const auto& entry : countById) {
            if (entry.first != "0" && entry.first != "-1")
                distinctIds.push_back(entry.first);
        }
        records.clear();
        store.categoryCounts.reset();
        if (!requestCategories(distinctIds, records))
            return false;
    }
    store.categoryCounts.reset();
    if (!isCurrentSearch(searchId))
        return false;
    storeCategories(std::move(records), countById);
    RenderQueue().PushUrgentMsgToHead(std::make_unique<CRenderMsg_CategoriesComplete>(searchId));
    return true;
}

bool CTaobaoConnector::fetchCategoryInfo_ItemCats(const std::string& cids, std::string& body)
{
    CTaobaoParamList list = newRequest("taobao.itemcats.get", kCategoryFields);
    list.addParam("cids", cids);
    return send(list, body);
}

bool CTaobaoConnector::requestCategories(const std::vector<std::string>& ids, std::vector<CTaobaoCategory>& records)
{
    std::string body;
    if (!fetchCategoryInfo_ItemCats(joined(ids), body))
        return false;
    TaobaoCategoryDetailsVisitor visitor;
    TaobaoXml::walk(body, visitor);
    records = std::move(visitor.categories);
    return true;
}

// Each record gets the count of its own cid, whatever order the platform
// answered in and whichever ids it left out.
void CTaobaoConnector::storeCategories(std::vector<CTaobaoCategory> records, const CountById& counts)
{
    std::vector<std::string> recordCounts;
    for (const CTaobaoCategory& record : records) {
        auto it = counts.find(record.cid);
        recordCounts.push_back(it == counts.end() ? std::string() : it->second);
    }
    CTaobaoDataStore::getInstance().categories.addCategories(std::move(records), recordCounts);
}

CTaobaoConnector::CountById CTaobaoConnector::rollUpCategoryCounts(const std::vector<CTaobaoCategory>& records,
                                                                   const CountById& counts)
{
    CountById parents;
    for (const CTaobaoCategory& record : records) {
        auto own = counts.find(record.cid);
        const std::string count = own == counts.end() ? std::string() : own->second;
        if (record.parent_cid == "0") {
            parents[record.cid] = count;
        } else {
            std::string& entry = parents[record.parent_cid];
            entry = std::to_string(TaobaoXml::toInt(entry) + TaobaoXml::toInt(count));
        }
    }
    return parents;
}
