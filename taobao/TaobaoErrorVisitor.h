#pragma once
#include <tinyxml.h>

// Recognises a platform error answer: any "error_rsp" element.
class TaobaoErrorVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;
    bool isError() const { return m_error; }

private:
    bool m_error = false;
};
