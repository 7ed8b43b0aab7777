#pragma once

#include "market/RequestParameters.h"

#include <string>

namespace market {

// The TOP request signature: uppercase hex MD5 of the secret followed by
// every parameter but "sign" as name and value, sorted by name. Later
// clients also append the secret at the end; both forms are accepted.
class TopSignature {
public:
    static std::string sign(const RequestParameters::Pairs& pairs, const std::string& secret, bool secretAtBothEnds);
    static bool verify(const RequestParameters& parameters, const std::string& secret);
};

}
