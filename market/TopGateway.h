#pragma once

#include "market/HttpAnswer.h"
#include "market/ProductSearch.h"
#include "market/RequestParameters.h"

#include <ctime>
#include <map>
#include <set>
#include <string>

class TiXmlElement;

namespace market {

class Catalogue;
class MarketLinks;

// The TOP REST gateway "/router/rest": checks the common parameters and the
// signature, then answers the eight methods the client calls in the v1 XML
// format. Stateless apart from the read-only catalogue.
class TopGateway {
public:
    TopGateway(const Catalogue& catalogue, const ProductSearch& search, std::string appKey, std::string secret);

    HttpAnswer answer(const std::string& encodedParameters, const MarketLinks& links) const;
    static HttpAnswer errorAnswer(int code, const std::string& message, const std::string& subMessage = "");

private:
    using Method = std::string (TopGateway::*)(const RequestParameters&, const MarketLinks&) const;
    using Fields = std::vector<std::string>;

    RequestParameters checkedParameters(const std::string& encoded) const;
    void checkCommonParameters(const RequestParameters& parameters) const;

    std::string itemsSearch(const RequestParameters& p, const MarketLinks& links) const;
    std::string taobaokeItemsGet(const RequestParameters& p, const MarketLinks& links) const;
    std::string taobaokeItemsConvert(const RequestParameters& p, const MarketLinks& links) const;
    std::string itemGet(const RequestParameters& p, const MarketLinks& links) const;
    std::string userGet(const RequestParameters& p, const MarketLinks& links) const;
    std::string shopGet(const RequestParameters& p, const MarketLinks& links) const;
    std::string itemPropValuesGet(const RequestParameters& p, const MarketLinks& links) const;
    std::string itemCatsGet(const RequestParameters& p, const MarketLinks& links) const;

    void writeProduct(TiXmlElement* item, const Product& product, const Fields& fields, const MarketLinks& links,
                      const std::vector<std::string>& highlight) const;
    void readFilters(const RequestParameters& p, SearchQuery& query) const;
    void readPage(const RequestParameters& p, SearchQuery& query, int maxPageSize) const;
    std::string delistTime(const Product& product) const;

    const Catalogue& catalogue_;
    const ProductSearch& search_;
    std::string appKey_;
    std::string secret_;
    std::time_t listingBase_;
    std::map<std::string, Method> methods_;
};

}
