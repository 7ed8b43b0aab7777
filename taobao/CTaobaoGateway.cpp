#include "taobao/CTaobaoGateway.h"

#include "taobao/TaobaoApp.h"

#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_settingsLock;
CTaobaoGateway g_settings;

std::string Choose(const char* variable, const std::string& setting, const char* builtIn)
{
    const char* over = getenv(variable);
    if (over && *over)
        return over;
    return setting.empty() ? builtIn : setting;
}

}

CTaobaoGateway CTaobaoGateway::current()
{
    CTaobaoGateway settings;
    {
        std::lock_guard<std::mutex> guard(g_settingsLock);
        settings = g_settings;
    }
    CTaobaoGateway gateway;
    gateway.url = Choose(kUrlVariable, settings.url, TaobaoApp::kDefaultGatewayUrl);
    gateway.appKey = Choose(kAppKeyVariable, settings.appKey, TaobaoApp::kAppKey);
    gateway.appSecret = Choose(kAppSecretVariable, settings.appSecret, TaobaoApp::kAppSecret);
    return gateway;
}

void CTaobaoGateway::use(const CTaobaoGateway& settings)
{
    std::lock_guard<std::mutex> guard(g_settingsLock);
    g_settings = settings;
}
