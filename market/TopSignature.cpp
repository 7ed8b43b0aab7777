#include "market/TopSignature.h"

#include <Poco/DigestEngine.h>
#include <Poco/MD5Engine.h>
#include <Poco/String.h>

#include <algorithm>

namespace market {

std::string TopSignature::sign(const RequestParameters::Pairs& pairs, const std::string& secret, bool secretAtBothEnds)
{
    RequestParameters::Pairs sorted;
    for (const auto& pair : pairs)
        if (pair.first != "sign")
            sorted.push_back(pair);
    std::sort(sorted.begin(), sorted.end());
    Poco::MD5Engine md5;
    md5.update(secret);
    for (const auto& pair : sorted) {
        md5.update(pair.first);
        md5.update(pair.second);
    }
    if (secretAtBothEnds)
        md5.update(secret);
    return Poco::toUpper(Poco::DigestEngine::digestToHex(md5.digest()));
}

bool TopSignature::verify(const RequestParameters& parameters, const std::string& secret)
{
    std::string received = Poco::toUpper(parameters.get("sign"));
    return received == sign(parameters.pairs(), secret, false) || received == sign(parameters.pairs(), secret, true);
}

}
