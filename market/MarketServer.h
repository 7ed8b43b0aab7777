#pragma once

#include "market/FaultInjector.h"
#include "market/ServiceEndpoints.h"

#include <Poco/Net/HTTPServerParams.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace market {

class Catalogue;

// The client's application: its key and the secret it signs with.
inline constexpr const char* kClientAppKey = "31875046";
inline constexpr const char* kClientAppSecret = "7c3e91a0d5b24f68e0a9c1d7b3f56e42";

struct MarketOptions {
    std::string host = "127.0.0.1";
    uint16_t port = 8600;            // 0 = ephemeral
    std::string dataDir;             // where catalogue.db and the picture cache live
    int productCount = 50000;        // size of the generated catalogue
    uint32_t seed = 2026;            // deterministic generation
    std::string appKey = kClientAppKey;         // the application the gateway accepts
    std::string appSecret = kClientAppSecret;   // the secret its requests are signed with
    // With both set (PEM files), everything is also served over https on a
    // second, ephemeral port.
    std::string tlsCertificateFile;
    std::string tlsKeyFile;
};

// The local marketplace: the TOP gateway "/router/rest", the picture
// server "/pic/...", the maker's service "/quobrix/..." and the admin
// endpoint "/admin/..." on one HTTP server.
class MarketServer {
public:
    static constexpr const char* kAppKey = kClientAppKey;
    static constexpr const char* kAppSecret = kClientAppSecret;

    explicit MarketServer(MarketOptions options);
    ~MarketServer();                 // stops if running
    MarketServer(const MarketServer&) = delete;
    MarketServer& operator=(const MarketServer&) = delete;

    void start();                    // generates the catalogue on first start, then listens
    void stop();
    bool running() const;
    uint16_t port() const;           // the actual port once started
    std::string topUrl() const;      // "http://127.0.0.1:<port>/router/rest"
    std::string serviceUrl() const;  // "http://127.0.0.1:<port>"
    std::string httpsUrl() const;    // "https://127.0.0.1:<port>", or "" without https

    // Fault injection, off by default.
    void setFaults(const FaultSettings& settings);
    FaultSettings faults() const;
    void clearFaults();

    // The maker's service.
    void setLoginAnswer(const LoginAnswer& answer);
    LoginAnswer loginAnswer() const;
    std::vector<std::string> loginBodies() const;        // as received, oldest first
    std::vector<std::string> statisticsBodies() const;   // logout bodies, byte for byte
    void clearServiceRecords();

    // What the market holds and has served, for tests that need real data.
    const Catalogue& catalogue() const;
    int64_t gatewayRequestCount() const;
    int64_t pictureRequestCount() const;

    // Prepares the catalogue in dataDir without serving: generates it when
    // missing or made with another size or seed. Returns whether it generated.
    static bool prepareCatalogue(const MarketOptions& options);
    static std::string cataloguePath(const std::string& dataDir);
    static std::string pictureCacheDir(const std::string& dataDir);
    static std::string importedPictureDir(const std::string& dataDir);

private:
    struct Parts;
    void startHttps(Poco::Net::HTTPServerParams::Ptr params);
    MarketOptions options_;
    FaultInjector faults_;
    LoginAnswer loginAnswer_;
    std::unique_ptr<Parts> parts_;
};

}
