#pragma once

#include "market/MarketServer.h"

#include <string>

// One shared in-process market per test process, on an ephemeral loopback
// port, with a small catalogue generated once into $QX_BUILD_DIR/test-market
// (so later runs start at once). Starting it also sets QUOBRIX_TOP_URL and
// QUOBRIX_SERVICE_URL to its addresses.
class LocalMarket {
public:
    static constexpr int kProductCount = 3000;

    static LocalMarket& instance();   // starts the market on first use

    market::MarketServer& server() { return server_; }
    std::string topUrl() const { return server_.topUrl(); }
    std::string serviceUrl() const { return server_.serviceUrl(); }
    static std::string dataDir();

    // Puts the market back as a test found it: no faults, default login
    // answer, no recorded service bodies.
    void reset();

private:
    LocalMarket();
    market::MarketServer server_;
};
