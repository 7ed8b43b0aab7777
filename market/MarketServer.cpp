#include "market/MarketServer.h"

#include "market/AdminEndpoint.h"
#include "market/Catalogue.h"
#include "market/CatalogueDatabase.h"
#include "market/CatalogueGenerator.h"
#include "market/MarketRouter.h"
#include "market/PictureStore.h"
#include "market/ProductSearch.h"
#include "market/RecommendPackage.h"
#include "market/TopGateway.h"
#include "market/WebPages.h"

#include <Poco/File.h>
#include <Poco/Net/HTTPServer.h>
#include <Poco/Net/HTTPServerParams.h>
#include <Poco/Net/Context.h>
#include <Poco/Net/SSLManager.h>
#include <Poco/Net/SecureServerSocket.h>
#include <Poco/Net/ServerSocket.h>
#include <Poco/Net/SocketAddress.h>
#include <Poco/Path.h>
#include <Poco/Process.h>
#include <Poco/ThreadPool.h>

#include <cstdio>
#include <stdexcept>

namespace market {

struct MarketServer::Parts {
    std::unique_ptr<CatalogueDatabase> database;
    Catalogue catalogue;
    std::unique_ptr<ProductSearch> search;
    std::unique_ptr<RecommendPackage> package;
    std::unique_ptr<TopGateway> gateway;
    std::unique_ptr<PictureStore> pictures;
    std::unique_ptr<ServiceEndpoints> service;
    std::unique_ptr<WebPages> pages;
    std::unique_ptr<AdminEndpoint> admin;
    Poco::Net::HTTPRequestHandlerFactory::Ptr factory;
    MarketRouter* router = nullptr;
    std::unique_ptr<Poco::ThreadPool> threads;
    std::unique_ptr<Poco::Net::HTTPServer> server;
    std::unique_ptr<Poco::Net::HTTPServer> httpsServer;
    uint16_t port = 0;
    uint16_t httpsPort = 0;
};

namespace {

// OpenSSL is set up once for the process and torn down at its end.
struct SslLibrary {
    SslLibrary() { Poco::Net::initializeSSL(); }
    ~SslLibrary() { Poco::Net::uninitializeSSL(); }
};

std::string dataDirOf(const MarketOptions& options)
{
    return options.dataDir.empty() ? std::string("market-data") : options.dataDir;
}

bool catalogueMatches(const std::string& path, const MarketOptions& options)
{
    CatalogueDatabase database(path);
    std::string kind = database.meta("kind");
    if (kind == "imported")
        return true;
    return kind == "generated" && database.meta("products") == std::to_string(options.productCount) &&
           database.meta("seed") == std::to_string(options.seed);
}

}

MarketServer::MarketServer(MarketOptions options) : options_(std::move(options))
{
    options_.dataDir = dataDirOf(options_);
}

MarketServer::~MarketServer()
{
    stop();
}

std::string MarketServer::cataloguePath(const std::string& dataDir)
{
    return dataDir + "/catalogue.db";
}

std::string MarketServer::pictureCacheDir(const std::string& dataDir)
{
    return dataDir + "/pictures";
}

std::string MarketServer::importedPictureDir(const std::string& dataDir)
{
    return dataDir + "/imported-pictures";
}

bool MarketServer::prepareCatalogue(const MarketOptions& options)
{
    std::string dataDir = dataDirOf(options);
    Poco::File(dataDir).createDirectories();
    std::string path = cataloguePath(dataDir);
    bool existed = Poco::File(path).exists();
    if (existed && catalogueMatches(path, options))
        return false;
    // Generated beside the final name and renamed, so a test process that
    // starts meanwhile never opens half a catalogue.
    std::string temporary = path + ".tmp" + std::to_string(Poco::Process::id());
    if (Poco::File(temporary).exists())
        Poco::File(temporary).remove(false);
    {
        CatalogueDatabase database(temporary);
        CatalogueGenerator(database, options.seed).generate(options.productCount);
        database.setMeta("seed", std::to_string(options.seed));
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot move the new catalogue to " + path);
    if (existed && Poco::File(pictureCacheDir(dataDir)).exists())
        Poco::File(pictureCacheDir(dataDir)).remove(true);
    return true;
}

void MarketServer::start()
{
    if (running())
        return;
    if (!parts_) {
        prepareCatalogue(options_);
        auto parts = std::make_unique<Parts>();
        parts->database = std::make_unique<CatalogueDatabase>(cataloguePath(options_.dataDir));
        parts->database->loadInto(parts->catalogue);
        parts->search = std::make_unique<ProductSearch>(parts->catalogue);
        parts->package = std::make_unique<RecommendPackage>(parts->catalogue);
        parts->gateway = std::make_unique<TopGateway>(parts->catalogue, *parts->search, options_.appKey,
                                                      options_.appSecret);
        parts->pictures = std::make_unique<PictureStore>(parts->catalogue, *parts->package,
                                                         pictureCacheDir(options_.dataDir),
                                                         importedPictureDir(options_.dataDir));
        parts->service = std::make_unique<ServiceEndpoints>(*parts->database, *parts->package,
                                                            options_.dataDir + "/statistics.log");
        parts->service->setLoginAnswer(loginAnswer_);
        parts->pages = std::make_unique<WebPages>(parts->catalogue);
        parts->admin = std::make_unique<AdminEndpoint>(faults_, *parts->service);
        parts_ = std::move(parts);
    }
    Poco::Net::ServerSocket socket;
    // Reusing the address lets a restart bind at once; sharing the port with
    // another running market would split requests between the two.
    socket.bind(Poco::Net::SocketAddress(options_.host, options_.port), true, false);
    socket.listen(64);
    parts_->port = socket.address().port();
    auto router = new MarketRouter(MarketRouter::Parts{*parts_->gateway, *parts_->pictures, *parts_->service,
                                                       *parts_->pages, *parts_->admin, faults_, serviceUrl()});
    parts_->router = router;
    parts_->factory = router;
    Poco::Net::HTTPServerParams::Ptr params = new Poco::Net::HTTPServerParams;
    params->setMaxThreads(16);
    params->setMaxQueued(64);
    params->setTimeout(Poco::Timespan(10, 0));
    params->setKeepAliveTimeout(Poco::Timespan(5, 0));
    parts_->threads = std::make_unique<Poco::ThreadPool>(2, 32);
    parts_->server = std::make_unique<Poco::Net::HTTPServer>(parts_->factory, *parts_->threads, socket, params);
    faults_.setStopping(false);
    parts_->server->start();
    if (!options_.tlsCertificateFile.empty() && !options_.tlsKeyFile.empty())
        startHttps(params);
}

void MarketServer::startHttps(Poco::Net::HTTPServerParams::Ptr params)
{
    static const SslLibrary library;
    Poco::Net::Context::Ptr context = new Poco::Net::Context(
        Poco::Net::Context::TLS_SERVER_USE, options_.tlsKeyFile, options_.tlsCertificateFile, "",
        Poco::Net::Context::VERIFY_NONE);
    Poco::Net::SecureServerSocket socket(context);
    socket.bind(Poco::Net::SocketAddress(options_.host, 0), true, false);
    socket.listen(64);
    parts_->httpsPort = socket.address().port();
    parts_->httpsServer = std::make_unique<Poco::Net::HTTPServer>(parts_->factory, *parts_->threads, socket, params);
    parts_->httpsServer->start();
}

void MarketServer::stop()
{
    if (!running())
        return;
    faults_.setStopping(true);
    if (parts_->httpsServer)
        parts_->httpsServer->stopAll(true);
    parts_->httpsServer.reset();
    parts_->server->stopAll(true);
    parts_->server.reset();
    parts_->threads->joinAll();
    parts_->threads.reset();
}

bool MarketServer::running() const
{
    return parts_ && parts_->server;
}

uint16_t MarketServer::port() const
{
    return parts_ ? parts_->port : 0;
}

std::string MarketServer::serviceUrl() const
{
    std::string host = options_.host == "0.0.0.0" ? std::string("127.0.0.1") : options_.host;
    return "http://" + host + ":" + std::to_string(port());
}

std::string MarketServer::httpsUrl() const
{
    return parts_ && parts_->httpsServer ? "https://127.0.0.1:" + std::to_string(parts_->httpsPort) : std::string();
}

std::string MarketServer::topUrl() const
{
    return serviceUrl() + "/router/rest";
}

void MarketServer::setFaults(const FaultSettings& settings)
{
    faults_.set(settings);
}

FaultSettings MarketServer::faults() const
{
    return faults_.settings();
}

void MarketServer::clearFaults()
{
    faults_.set(FaultSettings());
}

void MarketServer::setLoginAnswer(const LoginAnswer& answer)
{
    loginAnswer_ = answer;
    if (parts_)
        parts_->service->setLoginAnswer(answer);
}

LoginAnswer MarketServer::loginAnswer() const
{
    return loginAnswer_;
}

std::vector<std::string> MarketServer::loginBodies() const
{
    return parts_ ? parts_->service->loginBodies() : std::vector<std::string>();
}

std::vector<std::string> MarketServer::statisticsBodies() const
{
    return parts_ ? parts_->service->statisticsBodies() : std::vector<std::string>();
}

void MarketServer::clearServiceRecords()
{
    if (parts_)
        parts_->service->clearRecords();
}

const Catalogue& MarketServer::catalogue() const
{
    if (!parts_)
        throw std::logic_error("the market has not been started");
    return parts_->catalogue;
}

int64_t MarketServer::gatewayRequestCount() const
{
    return parts_ && parts_->router ? parts_->router->gatewayRequests() : 0;
}

int64_t MarketServer::pictureRequestCount() const
{
    return parts_ && parts_->router ? parts_->router->pictureRequests() : 0;
}

}
