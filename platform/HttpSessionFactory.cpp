#include "platform/HttpSessionFactory.h"

#include <Poco/Exception.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPSClientSession.h>
#include <Poco/Net/IPAddress.h>
#include <Poco/Net/RejectCertificateHandler.h>
#include <Poco/Net/SSLManager.h>
#include <Poco/NumberParser.h>
#include <Poco/String.h>
#include <Poco/URI.h>

#include <algorithm>
#include <mutex>

namespace {

// curl's port for a proxy address that names none.
constexpr uint16_t kDefaultProxyPort = 1080;

std::mutex g_contextLock;
Poco::Net::Context::Ptr g_context;

bool IsScheme(const Poco::URI& uri, const char* scheme)
{
    return Poco::icompare(uri.getScheme(), scheme) == 0;
}

// The lower-case variable when it is set at all, else the upper-case one.
const char* FirstSet(const HttpSessionFactory::Lookup& lookup, const char* lower, const char* upper)
{
    const char* value = lookup(lower);
    return value ? value : lookup(upper);
}

bool ParsePort(const std::string& text, uint16_t& port)
{
    unsigned value = 0;
    if (text.empty() || !Poco::NumberParser::tryParseUnsigned(text, value) || value == 0 || value > 65535)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

HttpSessionFactory::Proxy ParseProxy(const std::string& value)
{
    std::string text = Poco::trim(value);
    if (text.find("://") == std::string::npos)
        text = "http://" + text;
    const Poco::URI uri(text);
    // A socks or https proxy would need what Poco does not have; going
    // direct instead would pass the user's proxy by unnoticed.
    if (!IsScheme(uri, "http"))
        throw Poco::InvalidArgumentException("unsupported proxy scheme", uri.getScheme());
    if (uri.getHost().empty())
        throw Poco::InvalidArgumentException("proxy without a host", value);
    HttpSessionFactory::Proxy proxy;
    proxy.host = uri.getHost();
    proxy.port = uri.getSpecifiedPort() ? uri.getSpecifiedPort() : kDefaultProxyPort;
    // Poco keeps the user information as written: "p%40ss" is "p@ss".
    const std::string& userInfo = uri.getUserInfo();
    const size_t colon = userInfo.find(':');
    Poco::URI::decode(userInfo.substr(0, colon), proxy.username);
    if (colon != std::string::npos)
        Poco::URI::decode(userInfo.substr(colon + 1), proxy.password);
    return proxy;
}

std::string WithoutTrailingDot(std::string name)
{
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    return name;
}

// Splits "name", "name:port", "[v6]" or "[v6]:port"; a bare IPv6 address
// (several colons) has no port. False when the port is not a number.
bool SplitEntry(const std::string& entry, std::string& name, uint16_t& port)
{
    port = 0;
    std::string rest;
    if (entry.front() == '[') {
        const size_t close = entry.find(']');
        if (close == std::string::npos)
            return false;
        name = entry.substr(1, close - 1);
        rest = entry.substr(close + 1);
    } else if (std::count(entry.begin(), entry.end(), ':') == 1) {
        const size_t colon = entry.find(':');
        name = entry.substr(0, colon);
        rest = entry.substr(colon);
    } else {
        name = entry;
    }
    if (rest.empty())
        return true;
    return rest.front() == ':' && ParsePort(rest.substr(1), port);
}

Poco::Net::Context::Ptr MakeContext()
{
    static const bool initialized = [] {
        Poco::Net::initializeSSL();
        return true;
    }();
    (void)initialized;
    Poco::Net::Context::Params params;
    params.loadDefaultCAs = true;
    // VERIFY_RELAXED would skip the host name check for loopback addresses;
    // strict checks it for every host (a server always sends a certificate).
    params.verificationMode = Poco::Net::Context::VERIFY_STRICT;
    // No anonymous suites: a server without a certificate has nothing to check.
    params.cipherList = "DEFAULT:!aNULL:!eNULL";
    Poco::Net::Context::Ptr context = new Poco::Net::Context(Poco::Net::Context::TLS_CLIENT_USE, params);
    context->requireMinimumProtocol(Poco::Net::Context::PROTO_TLSV1_2);
    // Poco's default handler may ask on the console; a failing certificate
    // is a failed connection, never a question.
    context->setInvalidCertificateHandler(new Poco::Net::RejectCertificateHandler(false));
    return context;
}

}

std::unique_ptr<Poco::Net::HTTPClientSession> HttpSessionFactory::Open(const std::string& url)
{
    return Open(Poco::URI(url));
}

std::unique_ptr<Poco::Net::HTTPClientSession> HttpSessionFactory::Open(const Poco::URI& uri)
{
    const bool https = IsScheme(uri, "https");
    if (!https && !IsScheme(uri, "http"))
        throw Poco::InvalidArgumentException("unsupported address scheme", uri.getScheme());
    if (uri.getHost().empty())
        throw Poco::InvalidArgumentException("address without a host", uri.toString());
    const Proxy proxy = ProxyFor(uri);
    std::unique_ptr<Poco::Net::HTTPClientSession> session;
    if (https)
        session = std::make_unique<Poco::Net::HTTPSClientSession>(uri.getHost(), uri.getPort(), TlsContext());
    else
        session = std::make_unique<Poco::Net::HTTPClientSession>(uri.getHost(), uri.getPort());
    if (!proxy.host.empty()) {
        Poco::Net::HTTPClientSession::ProxyConfig config;
        config.host = proxy.host;
        config.port = proxy.port;
        config.username = proxy.username;
        config.password = proxy.password;
        // Poco would otherwise send an empty "Basic" login to every proxy.
        config.authMethod = proxy.username.empty() ? Poco::Net::HTTPClientSession::PROXY_AUTH_NONE
                                                   : Poco::Net::HTTPClientSession::PROXY_AUTH_HTTP_BASIC;
        session->setProxyConfig(config);
    }
    return session;
}

HttpSessionFactory::Proxy HttpSessionFactory::ProxyFor(const Poco::URI& uri, const Lookup& lookup)
{
    const bool https = IsScheme(uri, "https");
    const char* value = https ? FirstSet(lookup, "https_proxy", "HTTPS_PROXY")
                              : FirstSet(lookup, "http_proxy", "HTTP_PROXY");
    if (!value || Poco::trim(std::string(value)).empty())
        return Proxy();
    const char* noProxy = FirstSet(lookup, "no_proxy", "NO_PROXY");
    if (noProxy && Bypasses(noProxy, uri.getHost(), uri.getPort()))
        return Proxy();
    return ParseProxy(value);
}

bool HttpSessionFactory::Bypasses(const std::string& noProxy, const std::string& host, uint16_t port)
{
    const std::string target = WithoutTrailingDot(Poco::toLower(host));
    Poco::Net::IPAddress address;
    const bool literal = Poco::Net::IPAddress::tryParse(target, address);
    std::string entry;
    for (size_t begin = 0; begin <= noProxy.size();) {
        size_t end = noProxy.find_first_of(", \t", begin);
        if (end == std::string::npos)
            end = noProxy.size();
        entry = noProxy.substr(begin, end - begin);
        begin = end + 1;
        if (entry.empty())
            continue;
        if (entry == "*")
            return true;
        std::string name;
        uint16_t entryPort = 0;
        if (!SplitEntry(entry, name, entryPort) || (entryPort != 0 && entryPort != port))
            continue;
        name = WithoutTrailingDot(Poco::toLower(name));
        if (!name.empty() && name.front() == '.')
            name.erase(0, 1);
        if (name.empty())
            continue;
        if (target == name)
            return true;
        // Only names have subdomains: "0.0.1" must not exempt "10.0.0.1".
        if (!literal && target.size() > name.size() && target.compare(target.size() - name.size(), name.size(), name) == 0 &&
            target[target.size() - name.size() - 1] == '.')
            return true;
    }
    return false;
}

Poco::Net::Context::Ptr HttpSessionFactory::TlsContext()
{
    std::lock_guard<std::mutex> guard(g_contextLock);
    if (!g_context)
        g_context = MakeContext();
    return g_context;
}

void HttpSessionFactory::ResetTlsContext()
{
    std::lock_guard<std::mutex> guard(g_contextLock);
    g_context.reset();
}
