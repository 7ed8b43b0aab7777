#include "tests/support/TestCertificates.h"

#include "platform/HttpSessionFactory.h"
#include "tests/support/LocalMarket.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace {

const char* const kNames[] = {"trusted", "wrong-name", "unknown"};

void Run(const std::string& command)
{
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

// An EC key and a server certificate for the given names; signed by the
// authority when one is named, else by itself.
void MakeCertificate(const std::string& base, const std::string& subject, const std::string& names,
                     const std::string& authority)
{
    std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
                          "-subj '" + subject + "' -addext basicConstraints=critical,CA:FALSE "
                          "-addext 'subjectAltName=" + names + "' -keyout '" + base + ".key' -out '" + base + ".pem'";
    if (!authority.empty())
        command += " -CA '" + authority + ".pem' -CAkey '" + authority + ".key'";
    Run(command);
}

}

TestCertificates& TestCertificates::instance()
{
    static TestCertificates certificates;
    return certificates;
}

TestCertificates::TestCertificates() : m_folder("/tmp/qx-tls-" + std::to_string(getpid()))
{
    Run("rm -rf '" + m_folder + "' && mkdir -p '" + m_folder + "'");
    const std::string authority = m_folder + "/authority";
    Run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
        "-subj '/CN=Quobrix test authority' -keyout '" + authority + ".key' -out '" + authority + ".pem'");
    MakeCertificate(m_folder + "/trusted", "/CN=127.0.0.1", "IP:127.0.0.1,DNS:localhost", authority);
    MakeCertificate(m_folder + "/wrong-name", "/CN=elsewhere.invalid", "DNS:elsewhere.invalid", authority);
    MakeCertificate(m_folder + "/unknown", "/CN=127.0.0.1", "IP:127.0.0.1,DNS:localhost", "");
    setenv("SSL_CERT_FILE", authorityFile().c_str(), 1);
    // Through the environment, as any OpenSSL program reads it: a context
    // made before this point would not have seen the authority.
    HttpSessionFactory::ResetTlsContext();
}

TestCertificates::~TestCertificates()
{
    std::system(("rm -rf '" + m_folder + "'").c_str());
}

std::string TestCertificates::authorityFile() const
{
    return m_folder + "/authority.pem";
}

std::string TestCertificates::certificateFile(Kind kind) const
{
    return m_folder + "/" + kNames[kind] + ".pem";
}

std::string TestCertificates::keyFile(Kind kind) const
{
    return m_folder + "/" + kNames[kind] + ".key";
}

std::unique_ptr<market::MarketServer> TestCertificates::startMarket(Kind kind) const
{
    market::MarketOptions options;
    options.port = 0;
    options.dataDir = LocalMarket::dataDir();
    options.productCount = LocalMarket::kProductCount;
    options.tlsCertificateFile = certificateFile(kind);
    options.tlsKeyFile = keyFile(kind);
    auto server = std::make_unique<market::MarketServer>(options);
    server->start();
    return server;
}
