#pragma once

#include "market/FaultInjector.h"
#include "market/HttpAnswer.h"

#include <Poco/Net/HTTPRequestHandlerFactory.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace Poco {
namespace Net {
class HTTPServerRequest;
class HTTPServerResponse;
}
}

namespace market {

class AdminEndpoint;
class PictureStore;
class ServiceEndpoints;
class TopGateway;
class WebPages;

// Sends every request to its part of the market, applies the injected
// faults, and turns bad requests into clear 4xx answers.
class MarketRouter : public Poco::Net::HTTPRequestHandlerFactory {
public:
    struct Parts {
        TopGateway& gateway;
        PictureStore& pictures;
        ServiceEndpoints& service;
        WebPages& pages;
        AdminEndpoint& admin;
        FaultInjector& faults;
        std::string defaultBase;   // used when a request has no usable Host header
    };

    explicit MarketRouter(Parts parts) : parts_(std::move(parts)) {}

    Poco::Net::HTTPRequestHandler* createRequestHandler(const Poco::Net::HTTPServerRequest& request) override;
    void handle(Poco::Net::HTTPServerRequest& request, Poco::Net::HTTPServerResponse& response);

    int64_t gatewayRequests() const { return gatewayRequests_; }
    int64_t pictureRequests() const { return pictureRequests_; }

private:
    void sendLongBody(Fault fault, Poco::Net::HTTPServerResponse& response);
    HttpAnswer route(Poco::Net::HTTPServerRequest& request, FaultScope part, const std::string& path,
                     const std::string& query, Fault fault);
    std::string baseUrl(const Poco::Net::HTTPServerRequest& request) const;

    Parts parts_;
    std::atomic<int64_t> gatewayRequests_{0};
    std::atomic<int64_t> pictureRequests_{0};
};

}
