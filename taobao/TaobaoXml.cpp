#include "taobao/TaobaoXml.h"

#include "platform/AppFolders.h"
#include "taobao/TaobaoText.h"

#include <tinyxml.h>

#include <charconv>
#include <cmath>
#include <climits>
#include <cstdlib>

bool TaobaoXml::walk(const std::string& body, TiXmlVisitor& visitor)
{
    TiXmlDocument document;
    document.Parse(body.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    document.Accept(&visitor);
    return !document.Error();
}

bool TaobaoXml::walkFile(const std::string& path, TiXmlVisitor& visitor)
{
    TiXmlDocument document;
    if (!document.LoadFile(AppFolders::Resolve(path).c_str(), TIXML_DEFAULT_ENCODING))
        return false;
    document.Accept(&visitor);
    return true;
}

const TiXmlElement* TaobaoXml::child(const TiXmlElement& element, const char* name)
{
    return element.FirstChildElement(name);
}

std::string TaobaoXml::text(const TiXmlElement* element)
{
    if (!hasText(element))
        return std::string();
    return element->FirstChild()->ValueStr();
}

std::string TaobaoXml::ansiText(const TiXmlElement* element)
{
    std::string value = text(element);
    UTF8ToAnsi(value);
    return value;
}

bool TaobaoXml::hasText(const TiXmlElement* element)
{
    return element && element->FirstChild();
}

namespace
{

// Start of the number: white space skipped, a "+" dropped (from_chars takes only "-").
const char* numberStart(const std::string& text)
{
    const char* p = text.c_str();
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    if (*p == '+' && p[1] != '-')
        ++p;
    return p;
}

}

int TaobaoXml::toInt(const std::string& text)
{
    const char* start = numberStart(text);
    long long value = 0;
    auto result = std::from_chars(start, text.c_str() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return *start == '-' ? INT_MIN : INT_MAX;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double TaobaoXml::toDouble(const std::string& text)
{
    const char* start = numberStart(text);
    double value = 0;
    std::from_chars(start, text.c_str() + text.size(), value);
    return std::isfinite(value) ? value : 0;
}

std::string TaobaoXml::formatFixed2(double value)
{
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}
