#pragma once

#include <tinyxml.h>

#include <string>

namespace market {

// Builds one XML answer the way the v1 gateway wrote them: a declaration
// (UTF-8 unless told), a root element, text that may hold markup in CDATA,
// list wrappers marked list="true", and an optional comment after the root.
class XmlAnswerWriter {
public:
    explicit XmlAnswerWriter(const char* rootName = "rsp", const char* encoding = "utf-8");

    TiXmlElement* root() { return root_; }
    static TiXmlElement* addElement(TiXmlNode* parent, const char* name);
    static TiXmlElement* addList(TiXmlNode* parent, const char* name);
    static void addText(TiXmlNode* parent, const char* name, const std::string& text);
    static void addMarkup(TiXmlNode* parent, const char* name, const std::string& text);
    void setTrailingComment(const std::string& comment);
    std::string str() const;

    static std::string error(int code, const std::string& message, const std::string& subMessage = std::string());

private:
    TiXmlDocument document_;
    TiXmlElement* root_;
    std::string trailingComment_;
};

}
