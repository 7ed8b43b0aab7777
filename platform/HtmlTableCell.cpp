#include "platform/HtmlTableCell.h"

#include <cerrno>
#include <cstdlib>
#include <string>

void HtmlTableCell::set_attr(const litehtml::tchar_t* name, const litehtml::tchar_t* val)
{
    if (name && val && !litehtml::t_strcasecmp(name, "colspan"))
        return litehtml::el_td::set_attr(name, std::to_string(ClampSpan(val, kMaxColSpan)).c_str());
    if (name && val && !litehtml::t_strcasecmp(name, "rowspan"))
        return litehtml::el_td::set_attr(name, std::to_string(ClampSpan(val, kMaxRowSpan)).c_str());
    litehtml::el_td::set_attr(name, val);
}

void HtmlTableCell::parse_attributes()
{
    if (const litehtml::tchar_t* padding = TablePadding()) {
        const long pixels = std::strtol(padding, nullptr, 10);
        const long clamped = pixels < 0 ? 0 : (pixels > kMaxPadding ? kMaxPadding : pixels);
        m_style.add_property("padding", (std::to_string(clamped) + "px").c_str(), nullptr, false, this);
    }
    litehtml::el_td::parse_attributes();
}

const litehtml::tchar_t* HtmlTableCell::TablePadding() const
{
    for (litehtml::element::ptr ancestor = parent(); ancestor; ancestor = ancestor->parent())
        if (!litehtml::t_strcasecmp(ancestor->get_tagName(), "table"))
            return ancestor->get_attr("cellpadding");
    return nullptr;
}

int HtmlTableCell::ClampSpan(const char* value, int limit)
{
    errno = 0;
    const long span = std::strtol(value, nullptr, 10);
    if (errno == ERANGE)
        return span > 0 ? limit : 1;
    if (span < 1)
        return 1;
    return span > limit ? limit : static_cast<int>(span);
}
