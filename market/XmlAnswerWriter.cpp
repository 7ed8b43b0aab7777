#include "market/XmlAnswerWriter.h"

namespace market {

XmlAnswerWriter::XmlAnswerWriter(const char* rootName, const char* encoding)
{
    document_.LinkEndChild(new TiXmlDeclaration("1.0", encoding, ""));
    root_ = addElement(&document_, rootName);
}

TiXmlElement* XmlAnswerWriter::addElement(TiXmlNode* parent, const char* name)
{
    return static_cast<TiXmlElement*>(parent->LinkEndChild(new TiXmlElement(name)));
}

TiXmlElement* XmlAnswerWriter::addList(TiXmlNode* parent, const char* name)
{
    TiXmlElement* list = addElement(parent, name);
    list->SetAttribute("list", "true");
    return list;
}

void XmlAnswerWriter::addText(TiXmlNode* parent, const char* name, const std::string& text)
{
    TiXmlElement* element = addElement(parent, name);
    if (!text.empty())
        element->LinkEndChild(new TiXmlText(text));
}

void XmlAnswerWriter::addMarkup(TiXmlNode* parent, const char* name, const std::string& text)
{
    TiXmlElement* element = addElement(parent, name);
    if (text.empty())
        return;
    auto* node = new TiXmlText(text);
    // A CDATA section cannot hold its own terminator; such text is escaped instead.
    node->SetCDATA(text.find("]]>") == std::string::npos);
    element->LinkEndChild(node);
}

void XmlAnswerWriter::setTrailingComment(const std::string& comment)
{
    trailingComment_ = comment;
}

std::string XmlAnswerWriter::str() const
{
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    document_.Accept(&printer);
    std::string text = printer.Str();
    if (!trailingComment_.empty())
        text += "<!--" + trailingComment_ + "-->";
    return text;
}

std::string XmlAnswerWriter::error(int code, const std::string& message, const std::string& subMessage)
{
    XmlAnswerWriter writer("error_rsp");
    addText(writer.root(), "code", std::to_string(code));
    addText(writer.root(), "msg", message);
    if (!subMessage.empty())
        addText(writer.root(), "sub_msg", subMessage);
    return writer.str();
}

}
