#pragma once
#include <litehtml.h>
#include <el_td.h>

// A table cell whose spans stay within what the layout engine survives: a
// negative, zero, non-numeric or huge colspan or rowspan crashes or hangs it.
// It also takes its padding from its table's cellpadding, which the engine
// ignores and product pages use for their parameter tables.
class HtmlTableCell : public litehtml::el_td
{
public:
    static constexpr int kMaxColSpan = 1000;
    static constexpr int kMaxRowSpan = 65534;
    static constexpr int kMaxPadding = 100;

    explicit HtmlTableCell(const std::shared_ptr<litehtml::document>& doc) : litehtml::el_td(doc) {}

    void set_attr(const litehtml::tchar_t* name, const litehtml::tchar_t* val) override;
    void parse_attributes() override;

    // The span a cell gets for an attribute value: 1 up to the limit.
    static int ClampSpan(const char* value, int limit);

private:
    // The cellpadding of the nearest table around the cell, or null.
    const litehtml::tchar_t* TablePadding() const;
};
