#pragma once

// The client's built-in identity at the marketplace's open platform (the
// settings file or the environment may name another, see CTaobaoGateway).
namespace TaobaoApp
{
inline const char* const kAppKey = "31875046";
// Only ever the prefix of a signature source; never sent.
inline const char* const kAppSecret = "7c3e91a0d5b24f68e0a9c1d7b3f56e42";
inline const char* const kApiVersion = "1.0";
inline const char* const kAffiliateNick = "dorvaquelin";

inline const char* const kParamAppKey = "app_key";
inline const char* const kParamMethod = "method";
inline const char* const kParamTimestamp = "timestamp";
inline const char* const kParamSign = "sign";
inline const char* const kParamVersion = "v";

inline const char* const kDefaultGatewayUrl = "http://127.0.0.1:8600/router/rest";
}
