#include "service/CQXServiceHost.h"

#include "service/CQXConfig.h"

#include <cstdlib>

std::string CQXServiceHost::BaseUrl()
{
    const char* over = getenv(kUrlVariable);
    std::string base = over && *over ? over : CQXConfig::getInstance().GetNetwork().serviceUrl;
    if (base.empty())
        base = kDefaultUrl;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base;
}

std::string CQXServiceHost::Url(const std::string& path)
{
    return BaseUrl() + path;
}
