#pragma once
#include <string>

// The maker's service host: $QUOBRIX_SERVICE_URL, else ServiceUrl in the
// settings file, else the local marketplace at http://127.0.0.1:8600.
class CQXServiceHost
{
public:
    static constexpr const char* kUrlVariable = "QUOBRIX_SERVICE_URL";
    static constexpr const char* kDefaultUrl = "http://127.0.0.1:8600";

    static std::string BaseUrl();
    // BaseUrl() followed by path ("/quobrix/index.htm").
    static std::string Url(const std::string& path);
};
