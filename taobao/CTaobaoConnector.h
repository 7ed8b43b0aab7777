#pragma once
#include "taobao/CTaobaoCategory.h"

#include <atomic>
#include <map>
#include <string>
#include <vector>

class CTaobaoParamList;
struct CTaobaoProductInfoDetails;

// The client's calls to the marketplace's open platform: signed GET requests
// against the gateway, up to three attempts each, and the operations that
// turn the answers into the data store's records. No state of its own; the
// download threads call it concurrently. No exception leaves it.
class CTaobaoConnector
{
public:
    // The gateway, from QUOBRIX_TOP_URL (default: the local marketplace).
    static std::string gatewayUrl();

    static std::string md5HexUpper(const std::string& bytes);
    // Sorts the list, appends "sign" and returns the query in wire form.
    static std::string signRequest(CTaobaoParamList& list);
    // Up to three attempts with growing time-outs. True with the answer in
    // body when an attempt got a well-formed answer that is not an error;
    // false otherwise, body holding what the last attempt received.
    static bool fetchProductInfoFromTaobao(const std::string& query, std::string& body);

    // The time-outs of the three attempts are first, first + step and
    // first + 2 step milliseconds: 3, 5 and 7 seconds unless a test changes them.
    static void setAttemptTimeouts(int firstMs, int stepMs);

    // Makes sure the product at position index of the current browse is on its way.
    static bool fetchProductInfo(int index, int searchId);
    // Completes a record whose product fields are filled: details, then seller credit.
    static bool fetchProductInfoDetails(CTaobaoProductInfoDetails& record, int index, int searchId);
    static bool fetchProductInfoDetails_Product(const std::string& num_iid, const std::string& nick,
                                                std::string& body);
    // nick in UTF-8. With a record its credit is filled in; the seller cache
    // answers before the platform is asked.
    static bool fetchSellerInfo(const std::string& nick, CTaobaoProductInfoDetails* record, int searchId);
    static bool fetchTaobaokeProductURL(const std::string& num_iid, int index, int searchId);
    static bool fetchTaobaokeProductURL_Convert(const std::string& num_iid, std::string& url);
    static bool fetchShopInfo(const std::string& nick, int searchId);
    static bool fetchPropertyInfo(const std::string& cid, int searchId);
    static bool fetchPropertyInfo_PropValues(const std::string& cid, std::string& body);
    // Names the categories counted on the search pages (rolled up one level
    // when the search filters no category).
    static bool fetchCategoryInfo(int searchId);
    static bool fetchCategoryInfo_ItemCats(const std::string& cids, std::string& body);

    using CountById = std::map<std::string, std::string>;
    // Counts of the parents of the given categories: a top-level category
    // sets its own entry, a subcategory adds its count to its parent's.
    static CountById rollUpCategoryCounts(const std::vector<CTaobaoCategory>& records, const CountById& counts);

private:
    enum AttemptResult
    {
        Accepted,
        Rejected,   // an answer, but an error answer or not one at all
        NoAnswer,   // time-out, refused or dropped connection
    };
    static AttemptResult attemptRequest(const std::string& url, int timeoutMs, std::string& body);
    // Why an answer is refused, in reason.
    static AttemptResult classifyAnswer(const std::string& body, int status, std::string& reason);

    static CTaobaoParamList newRequest(const char* method, const char* fields);
    static bool send(CTaobaoParamList& list, std::string& body);
    static bool isCurrentSearch(int searchId);
    static bool showSavedProduct(int index, int browseSource);
    static void collectCategoryCounts(const std::string& body);
    static bool requestCategories(const std::vector<std::string>& ids, std::vector<CTaobaoCategory>& records);
    static void storeCategories(std::vector<CTaobaoCategory> records, const CountById& counts);

    static std::atomic<int> s_firstTimeoutMs;
    static std::atomic<int> s_timeoutStepMs;
};
