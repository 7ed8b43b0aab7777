#pragma once
#include <tinyxml.h>

#include <cstdint>

struct CQXLoginReturn
{
    int r = 0;
    int uid = 0;
    int nrs = 0;
    int cmd = 0;
    uint8_t mv = 2;
    uint8_t sv = 6;
    int rv = 0;
};

// Reads the login answer: every element named like one of the answer's fields,
// at any depth, with at least one child node, sets that field from its first
// child's text; a later element overwrites an earlier one.
class CQX_LoginReturn_Visitor : public TiXmlVisitor
{
public:
    explicit CQX_LoginReturn_Visitor(CQXLoginReturn& answer) : m_answer(answer) {}

    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

private:
    CQXLoginReturn& m_answer;
};
