#include "taobao/CTaobaoParamList.h"

#include "taobao/CTaobaoGateway.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace
{

// Besides the characters every URL target escapes, a value escapes those
// that would end it or change its meaning in a query: "&", "=", "+", "#".
const char* const kValueReserved = "&=+#";

bool mustEscape(unsigned char c, const char* reserved)
{
    static const char* const kUnsafe = "%<>{}|\\\"^`";
    return c <= 0x20 || c >= 0x7F || std::strchr(kUnsafe, c) || std::strchr(reserved, c);
}

}

void CTaobaoParamList::addParam(const std::string& name, const std::string& value)
{
    m_params.emplace_back(name, value);
    m_sorted = false;
}

void CTaobaoParamList::sortByKey()
{
    if (m_sorted)
        return;
    std::stable_sort(m_params.begin(), m_params.end(),
                     [](const Param& a, const Param& b) { return a.first < b.first; });
    m_sorted = true;
}

std::string CTaobaoParamList::signatureSource() const
{
    std::string source = CTaobaoGateway::current().appSecret;
    for (const Param& param : m_params) {
        source += param.first;
        source += param.second;
    }
    return source;
}

std::string CTaobaoParamList::buildQuery() const
{
    std::string query = "?";
    for (const Param& param : m_params) {
        if (query.size() > 1)
            query += '&';
        query += percentEncode(param.first, kValueReserved);
        query += '=';
        query += percentEncode(param.second, kValueReserved);
    }
    return query;
}

std::string CTaobaoParamList::percentEncode(const std::string& text, const char* reserved)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (!mustEscape(c, reserved)) {
            out += ch;
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
    return out;
}

std::string makeTimestamp()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S", &local);
    return text;
}
