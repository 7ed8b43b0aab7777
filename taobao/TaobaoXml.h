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
    // Deeper than any real answer or list; the parser recurses once per
    // level, so a document nested deeper is refused before it is parsed.
    static constexpr size_t kMaxDepth = 256;
    // Larger than any list or package the program keeps.
    static constexpr size_t kMaxFileBytes = 32 * 1024 * 1024;

    // Parses the bytes (encoding detected from the document) and walks the whole
    // document with the visitor. False when the bytes are not a well-formed
    // document; whatever was read before the fault has still been visited. A
    // document nested deeper than kMaxDepth is not visited at all.
    static bool walk(const std::string& body, TiXmlVisitor& visitor);
    // A file is all or nothing: one that is missing, larger than
    // kMaxFileBytes, too deep or not well-formed is not visited.
    static bool walkFile(const std::string& path, TiXmlVisitor& visitor);
    // How deep the elements of a document nest, counted no further than
    // kMaxDepth + 1; in one pass over the text, whatever it holds.
    static size_t nestingDepth(const std::string& text);

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
