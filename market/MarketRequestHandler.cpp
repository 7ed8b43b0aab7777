#include "market/MarketRequestHandler.h"

#include "market/MarketRouter.h"

namespace market {

void MarketRequestHandler::handleRequest(Poco::Net::HTTPServerRequest& request,
                                         Poco::Net::HTTPServerResponse& response)
{
    router_.handle(request, response);
}

}
