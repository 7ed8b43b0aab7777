#include "platform/HtmlResourceLoader.h"

#include "platform/BoundedBodyReader.h"
#include "platform/HttpSessionFactory.h"
#include "platform/NetworkFailure.h"
#include "platform/SessionInterrupter.h"

#include <Poco/Exception.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/String.h>
#include <Poco/URI.h>

#include <istream>
#include <memory>

namespace {

bool HasScheme(const std::string& url, const char* scheme)
{
    return Poco::icompare(url.substr(0, std::char_traits<char>::length(scheme)), scheme) == 0;
}

bool IsRedirect(Poco::Net::HTTPResponse::HTTPStatus status)
{
    using R = Poco::Net::HTTPResponse;
    return status == R::HTTP_MOVED_PERMANENTLY || status == R::HTTP_FOUND || status == R::HTTP_SEE_OTHER ||
           status == R::HTTP_TEMPORARY_REDIRECT || status == R::HTTP_PERMANENT_REDIRECT;
}

}

std::string HtmlResourceLoader::Resolve(const std::string& reference)
{
    const std::string url = Poco::trim(reference);
    if (url.compare(0, 2, "//") == 0)
        return "http:" + url;
    if (HasScheme(url, "http://") || HasScheme(url, "https://"))
        return url;
    return std::string();
}

bool HtmlResourceLoader::Fetch(const std::string& address, size_t maxBytes, int timeoutMs, std::string& body)
{
    std::string url = Resolve(address);
    try {
        for (int hop = 0; hop <= kMaxRedirects && !url.empty(); ++hop) {
            const Poco::URI uri(url);
            const std::unique_ptr<Poco::Net::HTTPClientSession> session = HttpSessionFactory::Open(uri);
            session->setTimeout(Poco::Timespan(static_cast<Poco::Timespan::TimeDiff>(timeoutMs) * 1000));
            Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, uri.getPathAndQuery(),
                                           Poco::Net::HTTPMessage::HTTP_1_1);
            session->sendRequest(request);
            const SessionInterrupter::Waiting waiting(*session);
            Poco::Net::HTTPResponse response;
            std::istream& in = session->receiveResponse(response);
            if (IsRedirect(response.getStatus())) {
                url = Resolve(Poco::URI(uri, response.get("Location", "")).toString());
                continue;
            }
            if (response.getStatus() != Poco::Net::HTTPResponse::HTTP_OK) {
                NetworkFailure::Report("page resource", url, NetworkFailure::Status(response.getStatus()));
                return false;
            }
            if (BoundedBodyReader({maxBytes, std::chrono::milliseconds(timeoutMs)}).Read(in, body))
                return true;
            NetworkFailure::Report("page resource", url, "answer past its size or time limit");
            return false;
        }
    } catch (const std::exception& failure) {
        NetworkFailure::Report("page resource", url, NetworkFailure::Reason(failure));
    }
    return false;
}
