#include "taobao/TaobaoXml.h"

#include "taobao/TaobaoText.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <fstream>

namespace {

// TinyXML takes a UTF-8 lead byte's whole sequence without looking for the
// end of the text: with this many NULs after the last byte no sequence can
// step past the buffer.
constexpr size_t kEndPadding = 8;

// Parses text unless it nests too deep; false when it was refused.
bool parseBounded(TiXmlDocument& document, const std::string& text)
{
    if (TaobaoXml::nestingDepth(text) > TaobaoXml::kMaxDepth)
        return false;
    std::string padded;
    padded.reserve(text.size() + kEndPadding);
    padded.append(text).append(kEndPadding, '\0');
    document.Parse(padded.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    return true;
}

bool startsAt(const std::string& text, size_t at, const char* mark)
{
    return text.compare(at, std::char_traits<char>::length(mark), mark) == 0;
}

// Where a start tag that begins at `at` ends: its '>' outside quotes, or npos.
size_t endOfStartTag(const std::string& text, size_t at)
{
    char quote = 0;
    for (size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            return i;
    }
    return std::string::npos;
}

// What TinyXML reads as the start of an element after '<'.
bool startsName(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// The same as TinyXML's LoadFile: line ends become "\n".
std::string withUnixLineEnds(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r')
            out += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != '\n')
            out += '\n';
    }
    return out;
}

}

size_t TaobaoXml::nestingDepth(const std::string& text)
{
    size_t depth = 0, deepest = 0;
    size_t at = text.find('<');
    while (at != std::string::npos && deepest <= kMaxDepth) {
        size_t end;
        if (startsAt(text, at, "<!--"))
            end = text.find("-->", at + 4);
        else if (startsAt(text, at, "<![CDATA["))
            end = text.find("]]>", at + 9);
        else if (startsAt(text, at, "</")) {
            depth -= depth > 0 ? 1 : 0;
            end = text.find('>', at + 2);
        } else if (at + 1 < text.size() && startsName(text[at + 1])) {
            end = endOfStartTag(text, at);
            // An unfinished tag still opens an element for the parser.
            if (end == std::string::npos || text[end - 1] != '/')
                deepest = std::max(deepest, ++depth);
        } else {
            end = at;
        }
        at = end == std::string::npos ? end : text.find('<', end + 1);
    }
    return deepest;
}

bool TaobaoXml::walk(const std::string& body, TiXmlVisitor& visitor)
{
    TiXmlDocument document;
    if (!parseBounded(document, body))
        return false;
    document.Accept(&visitor);
    return !document.Error();
}

bool TaobaoXml::walkFile(const std::string& path, TiXmlVisitor& visitor)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    if (size <= 0 || static_cast<size_t>(size) > kMaxFileBytes)
        return false;
    std::string text(static_cast<size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(&text[0], size))
        return false;
    TiXmlDocument document;
    if (!parseBounded(document, withUnixLineEnds(text)) || document.Error())
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
