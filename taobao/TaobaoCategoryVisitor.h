#pragma once
#include <tinyxml.h>

#include <string>
#include <vector>

// Reads the category statistics of an items search answer: category ids and
// their result counts ("category_list" elements).
class TaobaoCategoryVisitor : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute* firstAttribute) override;

    std::vector<std::string> ids;
    std::vector<std::string> counts;
};
