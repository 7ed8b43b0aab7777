#include "taobao/TaobaoErrorVisitor.h"

bool TaobaoErrorVisitor::VisitEnter(const TiXmlElement& element, const TiXmlAttribute*)
{
    if (element.ValueStr() == "error_rsp")
        m_error = true;
    return true;
}
