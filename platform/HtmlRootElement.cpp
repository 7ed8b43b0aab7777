#include "platform/HtmlRootElement.h"

void HtmlRootElement::parse_styles(bool is_reparse)
{
    litehtml::html_tag::parse_styles(is_reparse);
    m_display = litehtml::display_block;
}
