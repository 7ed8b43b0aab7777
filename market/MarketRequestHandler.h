#pragma once

#include <Poco/Net/HTTPRequestHandler.h>

namespace market {

class MarketRouter;

// One request's handler; the router does the work.
class MarketRequestHandler : public Poco::Net::HTTPRequestHandler {
public:
    explicit MarketRequestHandler(MarketRouter& router) : router_(router) {}
    void handleRequest(Poco::Net::HTTPServerRequest& request, Poco::Net::HTTPServerResponse& response) override;

private:
    MarketRouter& router_;
};

}
