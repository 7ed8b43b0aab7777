#include "market/RequestParameters.h"

#include <Poco/Exception.h>
#include <Poco/StringTokenizer.h>
#include <Poco/URI.h>

#include <algorithm>
#include <stdexcept>

namespace market {

RequestParameters RequestParameters::parse(const std::string& encoded, bool plusAsSpace)
{
    RequestParameters result;
    Poco::StringTokenizer pieces(encoded, "&", Poco::StringTokenizer::TOK_IGNORE_EMPTY);
    for (std::string piece : pieces) {
        // Poco decodes "+" as a space only inside a whole URI's query.
        if (plusAsSpace)
            std::replace(piece.begin(), piece.end(), '+', ' ');
        size_t equals = piece.find('=');
        std::string name, value;
        try {
            Poco::URI::decode(piece.substr(0, equals), name, plusAsSpace);
            if (equals != std::string::npos)
                Poco::URI::decode(piece.substr(equals + 1), value, plusAsSpace);
        } catch (const Poco::Exception&) {
            throw std::invalid_argument("bad percent-encoding in \"" + piece.substr(0, 64) + "\"");
        }
        result.pairs_.emplace_back(std::move(name), std::move(value));
    }
    return result;
}

bool RequestParameters::has(const std::string& name) const
{
    for (const auto& pair : pairs_)
        if (pair.first == name)
            return true;
    return false;
}

std::string RequestParameters::get(const std::string& name) const
{
    for (const auto& pair : pairs_)
        if (pair.first == name)
            return pair.second;
    return std::string();
}

}
