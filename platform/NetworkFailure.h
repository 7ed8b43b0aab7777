#pragma once
#include <exception>
#include <string>

// A caught network exception as a few words for the log: "time-out",
// "connection refused", "host not found", "TLS: <what OpenSSL or the
// certificate check said>", otherwise the exception's own text.
class NetworkFailure
{
public:
    static std::string Reason(const std::exception& failure);
};
