#pragma once
#include <Poco/Net/Context.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace Poco {
class URI;
namespace Net {
class HTTPClientSession;
}
}

// Opens the HTTP session for an address the way its scheme asks, so that no
// network client of the program speaks plain http to an https address or
// forgets the user's proxy: "http" in the clear, "https" over TLS checked
// against the system's certificates, any other scheme refused. A TLS failure
// is an exception like any other network failure; nothing here ever falls
// back to plain http.
//
// Callers keep writing origin-form request targets ("/path?query"): through
// an http proxy Poco puts "http://host:port" in front of the target itself,
// and https goes through a CONNECT tunnel that carries the request unchanged.
class HttpSessionFactory
{
public:
    // A proxy named by the environment; an empty host means "connect directly".
    struct Proxy
    {
        std::string host;
        uint16_t port = 0;
        std::string username;
        std::string password;
    };

    // Reads an environment variable; null when it is not set.
    using Lookup = std::function<const char*(const char*)>;

    // A session, not yet connected, for the address's host and port (the
    // scheme's port when none is written), through the proxy the environment
    // names for it. Throws Poco::InvalidArgumentException for a scheme other
    // than http/https, an address without a host or a proxy it cannot use.
    static std::unique_ptr<Poco::Net::HTTPClientSession> Open(const Poco::URI& uri);
    static std::unique_ptr<Poco::Net::HTTPClientSession> Open(const std::string& url);

    // The proxy for an address, as curl reads it: "http_proxy" for http,
    // "https_proxy" for https, each lower-case name before its upper-case
    // one (a lower-case name set to "" means no proxy); "no_proxy"/"NO_PROXY"
    // exempts hosts. A proxy is "[http://][user[:password]@]host[:port]",
    // port 1080 when none is given.
    static Proxy ProxyFor(const Poco::URI& uri, const Lookup& lookup = std::getenv);

    // Whether a "no_proxy" list exempts host:port. Entries are separated by
    // commas (or blanks): "*" for every host; a host name, which also covers
    // its subdomains, with or without a leading dot; an IP address, matched
    // exactly; each optionally with ":port". Loopback addresses get no
    // exemption of their own: "localhost" and "127.0.0.1" go through the
    // proxy unless listed, as with curl.
    static bool Bypasses(const std::string& noProxy, const std::string& host, uint16_t port);

    // The TLS client context every https session shares: OpenSSL's default
    // certificate paths (so SSL_CERT_FILE and SSL_CERT_DIR apply), the peer's
    // chain verified and its name checked, a failing certificate rejected
    // without asking anyone.
    static Poco::Net::Context::Ptr TlsContext();

    // Makes the next https session build its context anew, reading
    // SSL_CERT_FILE and SSL_CERT_DIR again (for tests that set them).
    static void ResetTlsContext();
};
