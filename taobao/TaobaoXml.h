#pragma once
#include <string>

class TiXmlElement;
class TiXmlVisitor;

// The reading rules every answer visitor shares: elements are matched by their
// exact name, a named child is the first direct child element of that name,
// and the text of an element is the value of its first child node.
class TaobaoXml
{
public:
    // Parses the bytes (encoding detected from the document) and walks the whole
    // document with the visitor. False when the bytes are not a well-formed
    // document; whatever was read before the fault has still been visited.
    static bool walk(const std::string& body, TiXmlVisitor& visitor);
    // A file is all or nothing: one that is missing or not well-formed is not visited.
    static bool walkFile(const std::string& path, TiXmlVisitor& visitor);

    static const TiXmlElement* child(const TiXmlElement& element, const char* name);
    // Empty for an absent element or one without child nodes.
    static std::string text(const TiXmlElement* element);
    // The text converted from UTF-8 to the system code page.
    static std::string ansiText(const TiXmlElement* element);
    // Present and with at least one child node.
    static bool hasText(const TiXmlElement* element);

    // Leading white space and sign, then digits; 0 when there are none.
    static int toInt(const std::string& text);
    // Likewise with an optional fraction and exponent; "inf" and "nan" are
    // not numbers here and read as 0.
    static double toDouble(const std::string& text);
    // "%.2f" in the C locale.
    static std::string formatFixed2(double value);
    static std::string formatPrice(const std::string& text) { return formatFixed2(toDouble(text)); }
};
