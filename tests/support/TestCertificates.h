#pragma once

#include "market/MarketServer.h"

#include <memory>
#include <string>

// Certificates for https tests, made once per test process with openssl: a
// test authority that SSL_CERT_FILE names (as an extra system certificate
// would be) and server certificates for 127.0.0.1. Every https session
// opened after instance() trusts the authority.
class TestCertificates
{
public:
    enum Kind {
        Trusted,     // signed by the test authority, for 127.0.0.1 and localhost
        WrongName,   // signed by the test authority, for another host
        Unknown,     // for 127.0.0.1, signed by nobody the client knows
    };

    static TestCertificates& instance();

    std::string authorityFile() const;
    std::string certificateFile(Kind kind) const;
    std::string keyFile(Kind kind) const;

    // A market of its own on ephemeral ports over the shared test catalogue,
    // also serving https with the given certificate.
    std::unique_ptr<market::MarketServer> startMarket(Kind kind) const;

private:
    TestCertificates();
    ~TestCertificates();
    std::string m_folder;
};
