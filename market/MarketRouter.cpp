#include "market/MarketRouter.h"

#include "market/AdminEndpoint.h"
#include "market/MarketLinks.h"
#include "market/MarketRequestHandler.h"
#include "market/PictureStore.h"
#include "market/ServiceEndpoints.h"
#include "market/TopGateway.h"
#include "market/WebPages.h"

#include <Poco/Exception.h>
#include <Poco/Net/HTTPServerRequest.h>
#include <Poco/Net/HTTPServerRequestImpl.h>
#include <Poco/Net/HTTPServerSession.h>
#include <Poco/Net/HTTPServerResponse.h>
#include <Poco/Net/StreamSocket.h>
#include <Poco/URI.h>

#include <cstdint>
#include <istream>

namespace market {

namespace {

const std::streamsize kMaxBody = 1 << 20;
const std::streamsize kMaxDrained = 16 << 20;

// False when the body is larger than the market takes. The rest of a large
// body is still read (up to a bound), so the sender gets the refusal rather
// than a reset connection.
bool readBody(Poco::Net::HTTPServerRequest& request, std::string& body)
{
    std::istream& in = request.stream();
    char buffer[8192];
    std::streamsize total = 0;
    while ((in.read(buffer, sizeof buffer) || in.gcount() > 0) && total <= kMaxDrained) {
        total += in.gcount();
        if (total <= kMaxBody)
            body.append(buffer, size_t(in.gcount()));
    }
    return total <= kMaxBody;
}

FaultScope partOf(const std::string& path)
{
    if (path == "/router/rest")
        return FaultScope::Gateway;
    if (path.compare(0, 5, "/pic/") == 0)
        return FaultScope::Pictures;
    return FaultScope::Service;
}

void dropConnection(Poco::Net::HTTPServerRequest& request, Poco::Net::HTTPServerResponse& response)
{
    // The socket stays with its connection (detaching it races with the
    // server thread that owns the connection): shut it down with a zero
    // linger, send nothing, and let the connection close it as a reset.
    response.setKeepAlive(false);
    Poco::Net::StreamSocket& socket = static_cast<Poco::Net::HTTPServerRequestImpl&>(request).session().socket();
    socket.setLinger(true, 0);
    socket.shutdown();
}

void spoilPicture(Fault fault, HttpAnswer& answer)
{
    if (fault == Fault::ShortPicture && answer.status == 200)
        answer.body.resize(std::min<size_t>(answer.body.size(), 700));
    if (fault == Fault::CorruptPicture && answer.status == 200)
        for (char& byte : answer.body)
            byte = char(byte ^ 0x5a);
}

// Longer than any stub a client could take for a missing picture by its size.
HttpAnswer errorPage()
{
    std::string page = "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1>";
    while (page.size() < 2048)
        page += "<p>The requested file is not on this server. Please check the address and try again.</p>";
    return HttpAnswer{404, "text/html; charset=utf-8", page + "</body></html>"};
}

}

Poco::Net::HTTPRequestHandler* MarketRouter::createRequestHandler(const Poco::Net::HTTPServerRequest&)
{
    return new MarketRequestHandler(*this);
}

std::string MarketRouter::baseUrl(const Poco::Net::HTTPServerRequest& request) const
{
    std::string host = request.getHost();
    bool usable = !host.empty() && host.size() < 128 &&
                  host.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:[]") ==
                      std::string::npos;
    // Links lead back over the connection's own scheme: an http link to the
    // https port reaches nothing.
    return usable ? (request.secure() ? "https://" : "http://") + host : parts_.defaultBase;
}

void MarketRouter::handle(Poco::Net::HTTPServerRequest& request, Poco::Net::HTTPServerResponse& response)
{
    std::string path, query;
    bool malformed = false;
    try {
        Poco::URI uri(request.getURI());
        path = uri.getPath();
        query = uri.getRawQuery();
    } catch (const Poco::Exception&) {
        malformed = true;
    }
    FaultScope part = partOf(path);
    Fault fault = Fault::None;
    if (!malformed && path.compare(0, 7, "/admin/") != 0)
        fault = parts_.faults.next(part);

    if (fault == Fault::DropConnection) {
        dropConnection(request, response);
        return;
    }
    if (fault == Fault::OversizedBody || fault == Fault::EndlessBody || fault == Fault::TrickleBody) {
        sendLongBody(fault, response);
        return;
    }
    HttpAnswer answer;
    if (malformed)
        answer = HttpAnswer::text(400, "malformed request target");
    else if (fault == Fault::Http500)
        answer = HttpAnswer::text(500, "Internal Server Error");
    else if (fault == Fault::ErrorPage)
        answer = errorPage();
    else if (fault == Fault::EmptyBody)
        answer = HttpAnswer{200, "text/xml; charset=utf-8", ""};
    else if (fault == Fault::GarbageBody)
        answer = HttpAnswer{200, "text/xml; charset=utf-8", "\x1f\x8b<<garbage>>\xff\xfe not a document ]]> &&&"};
    else
        answer = route(request, part, path, query, fault);

    response.setStatus(Poco::Net::HTTPResponse::HTTPStatus(answer.status));
    response.setContentType(answer.contentType);
    response.setContentLength(std::streamsize(answer.body.size()));
    std::ostream& out = response.send();
    if (request.getMethod() != Poco::Net::HTTPRequest::HTTP_HEAD)
        out.write(answer.body.data(), std::streamsize(answer.body.size()));
}

// An oversized body ends after 32 MiB; the others end only when the client
// goes away or the market stops, so a client that waits for their end never
// finishes on its own.
void MarketRouter::sendLongBody(Fault fault, Poco::Net::HTTPServerResponse& response)
{
    const bool trickle = fault == Fault::TrickleBody;
    const size_t length = fault == Fault::OversizedBody ? size_t(32) << 20 : SIZE_MAX;
    const std::string piece = trickle ? std::string(" ") : std::string(65536, ' ');
    response.setStatus(Poco::Net::HTTPResponse::HTTP_OK);
    response.setContentType("text/xml; charset=utf-8");
    response.setChunkedTransferEncoding(true);
    response.setKeepAlive(false);
    std::ostream& out = response.send();
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?><rsp>";
    for (size_t sent = 0; out && sent < length && !parts_.faults.waitStopping(trickle ? 50 : 0);
         sent += piece.size()) {
        out.write(piece.data(), std::streamsize(piece.size()));
        out.flush();
    }
    out << "</rsp>";
}

HttpAnswer MarketRouter::route(Poco::Net::HTTPServerRequest& request, FaultScope part, const std::string& path,
                               const std::string& query, Fault fault)
{
    const std::string& method = request.getMethod();
    bool post = method == Poco::Net::HTTPRequest::HTTP_POST;
    if (!post && method != Poco::Net::HTTPRequest::HTTP_GET && method != Poco::Net::HTTPRequest::HTTP_HEAD)
        return HttpAnswer::text(405, "method not allowed");
    std::string body;
    if (post && !readBody(request, body))
        return HttpAnswer::text(413, "request body too large");
    MarketLinks links(baseUrl(request));
    HttpAnswer answer;

    if (path.compare(0, 7, "/admin/") == 0) {
        if (!request.clientAddress().host().isLoopback())
            return HttpAnswer::text(403, "the admin endpoint answers loopback clients only");
        return parts_.admin.handle(path, query, answer) ? answer : HttpAnswer::text(404, "no such admin page");
    }
    if (part == FaultScope::Gateway) {
        ++gatewayRequests_;
        if (fault == Fault::ErrorAnswer)
            return TopGateway::errorAnswer(7, "App Call Limited", "This ban will last for 1 more seconds");
        std::string parameters = query + (body.empty() ? "" : (query.empty() ? "" : "&") + body);
        return parts_.gateway.answer(parameters, links);
    }
    if (part == FaultScope::Pictures) {
        ++pictureRequests_;
        answer.contentType = "image/jpeg";
        if (!parts_.pictures.picture(path, answer.body))
            return HttpAnswer::text(404, "no such picture");
        spoilPicture(fault, answer);
        return answer;
    }
    if (path == "/quobrix/login.php")
        return parts_.service.login(post ? body : query);
    if (path == "/quobrix/logout.php")
        return parts_.service.logout(post ? body : query);
    if (path == "/quobrix/r.zip")
        return parts_.service.package(links);
    if (parts_.pages.page(path, query, links, answer))
        return answer;
    return HttpAnswer::text(404, "not found");
}

}
