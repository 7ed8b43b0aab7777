#include "service/CQX_LoginReturn_Visitor.h"

#include "taobao/TaobaoXml.h"

#include <cstring>

bool CQX_LoginReturn_Visitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (!TaobaoXml::hasText(&element))
        return true;
    const int value = TaobaoXml::toInt(TaobaoXml::text(&element));
    const char* name = element.Value();
    if (strcmp(name, "r") == 0)
        m_answer.r = value;
    else if (strcmp(name, "uid") == 0)
        m_answer.uid = value;
    else if (strcmp(name, "nrs") == 0)
        m_answer.nrs = value;
    else if (strcmp(name, "cmd") == 0)
        m_answer.cmd = value;
    else if (strcmp(name, "mv") == 0)
        m_answer.mv = static_cast<uint8_t>(value);
    else if (strcmp(name, "sv") == 0)
        m_answer.sv = static_cast<uint8_t>(value);
    else if (strcmp(name, "rv") == 0)
        m_answer.rv = value;
    return true;
}
