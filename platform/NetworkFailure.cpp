#include "platform/NetworkFailure.h"

#include "platform/Log.h"

#include <Poco/Exception.h>
#include <Poco/Net/NetException.h>
#include <Poco/Net/SSLException.h>

std::string NetworkFailure::Reason(const std::exception& failure)
{
    if (dynamic_cast<const Poco::TimeoutException*>(&failure))
        return "time-out";
    if (dynamic_cast<const Poco::Net::ConnectionRefusedException*>(&failure))
        return "connection refused";
    if (dynamic_cast<const Poco::Net::DNSException*>(&failure))
        return "host not found";
    if (const auto* tls = dynamic_cast<const Poco::Net::SSLException*>(&failure))
        return "TLS: " + (tls->message().empty() ? tls->displayText() : tls->message());
    if (const auto* poco = dynamic_cast<const Poco::Exception*>(&failure))
        return poco->displayText();
    return failure.what();
}

std::string NetworkFailure::Status(int status)
{
    return "HTTP " + std::to_string(status);
}

void NetworkFailure::Report(const std::string& what, const std::string& url, const std::string& reason)
{
    Log::Warning(what + " " + url.substr(0, url.find('?')) + ": " + reason);
}
