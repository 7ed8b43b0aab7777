#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

class TiXmlDocument;

// Talks to the shared local market over real HTTP the way TOP clients do:
// parameters signed with the application secret, sent percent-encoded.
class MarketClient {
public:
    struct Reply {
        int status = 0;
        std::string body;
        std::string contentType;
    };
    using Params = std::vector<std::pair<std::string, std::string>>;

    // A signed gateway call; the common parameters are added unless given.
    static Reply call(const std::string& method, Params params);
    // The same parameters, signed over by the caller's own rules.
    static Params signedParams(const std::string& method, Params params, bool secretAtBothEnds = false);
    static std::string encodeQuery(const Params& params);

    static Reply get(const std::string& pathAndQuery);
    static Reply post(const std::string& path, const std::string& body);

    // Parses a reply body; fails the test when it is not XML.
    static void parse(const std::string& body, TiXmlDocument& document);
    static std::vector<std::string> texts(const TiXmlDocument& document, const char* element);
};
