#pragma once
// The market the marketplace benchmarks measure: 50 000 products in
// $QX_BUILD_DIR/bench-market, started once per benchmark program.
#include "market/MarketServer.h"

#include <Poco/File.h>

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
