#pragma once

#include <string>
#include <utility>
#include <vector>

namespace market {

// The name/value pairs of a query string or a form body, decoded, in the
// order received. TOP clients send "+" both as a literal plus (signed raw)
// and as an encoded space, so the decoding of "+" is a choice.
class RequestParameters {
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;

    // Throws std::invalid_argument on broken percent-encoding.
    static RequestParameters parse(const std::string& encoded, bool plusAsSpace);

    const Pairs& pairs() const { return pairs_; }
    bool has(const std::string& name) const;
    std::string get(const std::string& name) const;   // the first value, or empty

private:
    Pairs pairs_;
};

}
