#include "tests/market/MarketClient.h"

#include "market/TopSignature.h"
#include "tests/support/LocalMarket.h"

#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/StreamCopier.h>
#include <Poco/URI.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <ctime>
#include <sstream>

namespace {

MarketClient::Reply exchange(const std::string& method, const std::string& target, const std::string& body)
{
    Poco::URI base(LocalMarket::instance().serviceUrl());
    Poco::Net::HTTPClientSession session(base.getHost(), base.getPort());
    session.setTimeout(Poco::Timespan(10, 0));
    Poco::Net::HTTPRequest request(method, target, Poco::Net::HTTPMessage::HTTP_1_1);
    if (method == Poco::Net::HTTPRequest::HTTP_POST) {
        request.setContentType("application/x-www-form-urlencoded");
        request.setContentLength(std::streamsize(body.size()));
    }
    session.sendRequest(request) << body;
    Poco::Net::HTTPResponse response;
    std::istream& in = session.receiveResponse(response);
    MarketClient::Reply reply;
    reply.status = int(response.getStatus());
    reply.contentType = response.getContentType();
    Poco::StreamCopier::copyToString(in, reply.body);
    return reply;
}

std::string now()
{
    std::time_t t = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&t));
    return text;
}

bool has(const MarketClient::Params& params, const std::string& name)
{
    return std::any_of(params.begin(), params.end(), [&](const auto& p) { return p.first == name; });
}

}

MarketClient::Params MarketClient::signedParams(const std::string& method, Params params, bool secretAtBothEnds)
{
    const std::pair<const char*, std::string> common[] = {
        {"method", method}, {"app_key", market::MarketServer::kAppKey}, {"timestamp", now()}, {"v", "1.0"}};
    for (const auto& pair : common)
        if (!has(params, pair.first))
            params.emplace_back(pair.first, pair.second);
    params.emplace_back("sign", market::TopSignature::sign(params, market::MarketServer::kAppSecret, secretAtBothEnds));
    return params;
}

std::string MarketClient::encodeQuery(const Params& params)
{
    std::string query;
    for (const auto& pair : params) {
        std::string value;
        Poco::URI::encode(pair.second, "&=+#?%", value);
        query += (query.empty() ? "" : "&") + pair.first + "=" + value;
    }
    return query;
}

MarketClient::Reply MarketClient::call(const std::string& method, Params params)
{
    return get("/router/rest?" + encodeQuery(signedParams(method, std::move(params))));
}

MarketClient::Reply MarketClient::get(const std::string& pathAndQuery)
{
    return exchange(Poco::Net::HTTPRequest::HTTP_GET, pathAndQuery, "");
}

MarketClient::Reply MarketClient::post(const std::string& path, const std::string& body)
{
    return exchange(Poco::Net::HTTPRequest::HTTP_POST, path, body);
}

void MarketClient::parse(const std::string& body, TiXmlDocument& document)
{
    document.Parse(body.c_str());
    ASSERT_FALSE(document.Error()) << document.ErrorDesc() << " in: " << body.substr(0, 300);
}

std::vector<std::string> MarketClient::texts(const TiXmlDocument& document, const char* element)
{
    // Every element of that name at any depth, like the client's visitors see them.
    struct Collector : TiXmlVisitor {
        const char* name;
        std::vector<std::string> found;
        bool VisitEnter(const TiXmlElement& e, const TiXmlAttribute*) override
        {
            if (e.ValueStr() == name)
                found.push_back(e.GetText() ? e.GetText() : "");
            return true;
        }
    } collector;
    collector.name = element;
    document.Accept(&collector);
    return collector.found;
}
