#include "service/CQXServiceHost.h"

#include <cstdlib>

std::string CQXServiceHost::BaseUrl()
{
    const char* url = getenv("QUOBRIX_SERVICE_URL");
    std::string base = url && *url ? url : "http://127.0.0.1:8600";
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base;
}

std::string CQXServiceHost::Url(const std::string& path)
{
    return BaseUrl() + path;
}
