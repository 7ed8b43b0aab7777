#pragma once
// The market the marketplace benchmarks measure: 50 000 products in
// $QX_BUILD_DIR/bench-market, started once per benchmark program.
#include "market/MarketServer.h"

#include <Poco/File.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/StreamCopier.h>

#include <cstdlib>
#include <memory>
#include <string>

inline market::MarketOptions BenchMarketOptions()
{
    const char* buildDir = std::getenv("QX_BUILD_DIR");
    market::MarketOptions options;
    options.port = 0;
    options.dataDir = std::string(buildDir && *buildDir ? buildDir : ".") + "/bench-market";
    options.productCount = 50000;
    return options;
}

// withoutPictures: start with no picture drawn, so first requests are measured.
inline market::MarketServer& BenchMarket(bool withoutPictures)
{
    static std::unique_ptr<market::MarketServer> instance = [withoutPictures] {
        const market::MarketOptions options = BenchMarketOptions();
        if (withoutPictures) {
            market::MarketServer::prepareCatalogue(options);
            Poco::File cache(market::MarketServer::pictureCacheDir(options.dataDir));
            if (cache.exists())
                cache.remove(true);
        }
        auto started = std::make_unique<market::MarketServer>(options);
        started->start();
        return started;
    }();
    return *instance;
}

// One GET on a new connection, as the client makes them; the answer's body.
inline std::string BenchGet(uint16_t port, const std::string& target)
{
    Poco::Net::HTTPClientSession session("127.0.0.1", port);
    Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, target, Poco::Net::HTTPMessage::HTTP_1_1);
    session.sendRequest(request);
    Poco::Net::HTTPResponse response;
    std::string body;
    Poco::StreamCopier::copyToString(session.receiveResponse(response), body);
    return body;
}
