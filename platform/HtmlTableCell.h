#pragma once
#include <litehtml.h>
#include <el_td.h>

// A table cell whose spans stay within what the layout engine survives: a
// negative, zero, non-numeric or huge colspan or rowspan crashes or hangs it.
class HtmlTableCell : public litehtml::el_td
{
public:
    static constexpr int kMaxColSpan = 1000;
    static constexpr int kMaxRowSpan = 65534;

    explicit HtmlTableCell(const std::shared_ptr<litehtml::document>& doc) : litehtml::el_td(doc) {}

    void set_attr(const litehtml::tchar_t* name, const litehtml::tchar_t* val) override;

    // The span a cell gets for an attribute value: 1 up to the limit.
    static int ClampSpan(const char* value, int limit);
};
