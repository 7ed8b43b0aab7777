#include "tests/support/LocalMarket.h"

#include <cstdlib>

namespace {

market::MarketOptions testOptions()
{
    market::MarketOptions options;
    options.port = 0;
    options.dataDir = LocalMarket::dataDir();
    options.productCount = LocalMarket::kProductCount;
    return options;
}

}

std::string LocalMarket::dataDir()
{
    const char* buildDir = std::getenv("QX_BUILD_DIR");
    return std::string(buildDir && *buildDir ? buildDir : ".") + "/test-market";
}

LocalMarket& LocalMarket::instance()
{
    static LocalMarket market;
    return market;
}

LocalMarket::LocalMarket() : server_(testOptions())
{
    server_.start();
    setenv("QUOBRIX_TOP_URL", server_.topUrl().c_str(), 1);
    setenv("QUOBRIX_SERVICE_URL", server_.serviceUrl().c_str(), 1);
}

void LocalMarket::reset()
{
    server_.clearFaults();
    server_.setLoginAnswer(market::LoginAnswer());
    server_.clearServiceRecords();
}
