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
    // "HTTP <status>".
    static std::string Status(int status);

    // One line in the program's log for a request that failed: what was
    // asked for, where (the address without its query, which can be long and
    // carries nothing the reader needs), and why.
    static void Report(const std::string& what, const std::string& url, const std::string& reason);
};
