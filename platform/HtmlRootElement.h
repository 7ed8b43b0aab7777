#pragma once
#include <litehtml.h>

// The page's root element, always laid out as a block: a page that makes it
// a table part ("*{display:table-cell}") sends the layout engine looking for
// the root's parent to wrap it in, and it crashes.
class HtmlRootElement : public litehtml::html_tag
{
public:
    explicit HtmlRootElement(const std::shared_ptr<litehtml::document>& doc) : litehtml::html_tag(doc) {}

    void parse_styles(bool is_reparse = false) override;
};
