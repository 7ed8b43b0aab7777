#pragma once
#include <string>

// Where the open platform's gateway is and who the client is there. The
// program hands over what its settings file says; an environment variable
// overrides each value, and the built-in identity and the local marketplace
// stand in for whatever neither sets.
class CTaobaoGateway
{
public:
    static constexpr const char* kUrlVariable = "QUOBRIX_TOP_URL";
    static constexpr const char* kAppKeyVariable = "QUOBRIX_APP_KEY";
    static constexpr const char* kAppSecretVariable = "QUOBRIX_APP_SECRET";

    std::string url;
    std::string appKey;
    std::string appSecret;  // only ever the prefix of a signature source; never sent

    // The gateway in use: each value from its variable, else from the
    // settings handed to use(), else built in.
    static CTaobaoGateway current();
    // The settings file's values; "" where the file sets nothing.
    static void use(const CTaobaoGateway& settings);
};
