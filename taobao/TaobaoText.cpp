#include "taobao/TaobaoText.h"

#include "platform/CodePage.h"

#include <cstring>

void UTF8ToAnsi(std::string& text)
{
    text = CodePage::Utf8ToGbk(text);
}

void AnsiToUTF8(std::string& text)
{
    text = CodePage::GbkToUtf8(text);
}

namespace
{

struct Entity
{
    const char* name;
    const char* output;
};

// The typographic outputs are GBK byte pairs.
const Entity kEntities[] = {
    {"gt", ">"},          {"lt", "<"},          {"amp", "&"},         {"apos", "'"},
    {"quot", "\""},       {"nbsp", " "},        {"ldquo", "\xA1\xB0"}, {"rdquo", "\xA1\xB1"},
    {"lsquo", "\xA1\xAE"}, {"rsquo", "\xA1\xAF"}, {"rarr", "\xA1\xFA"}, {"sect", "\xA1\xEC"},
    {"hellip", "\xA1\xAD"}, {"cap", "\xA1\xC9"},  {"mdash", "\xA1\xAA"}, {"times", "\xA1\xC1"},
};

bool isLineBreakTag(const std::string& html, size_t pos)
{
    return pos + 3 < html.size() && (html[pos + 1] == 'b' || html[pos + 1] == 'B')
        && (html[pos + 2] == 'r' || html[pos + 2] == 'R') && html[pos + 3] == '>';
}

void appendLineBreak(std::string& out)
{
    bool endsWithTwoBreaks = out.size() >= 2 && out.compare(out.size() - 2, 2, "\n\n") == 0;
    if (!out.empty() && !endsWithTwoBreaks)
        out += '\n';
}

// The entity starting at html[pos] ("&"), or nullptr when none of the table matches.
const Entity* entityAt(const std::string& html, size_t pos)
{
    for (const Entity& entity : kEntities) {
        size_t length = std::strlen(entity.name);
        if (html.compare(pos + 1, length, entity.name) == 0 && pos + 1 + length < html.size()
            && html[pos + 1 + length] == ';')
            return &entity;
    }
    return nullptr;
}

}

std::string HtmlToText(const std::string& html)
{
    std::string out;
    out.reserve(html.size());
    size_t pos = 0;
    while (pos < html.size()) {
        char c = html[pos];
        if (c == '\n') {
            ++pos;
        } else if (c == '<' && isLineBreakTag(html, pos)) {
            appendLineBreak(out);
            pos += 4;
        } else if (c == '<') {
            size_t close = html.find('>', pos);
            pos = close == std::string::npos ? html.size() : close + 1;
        } else if (const Entity* entity = c == '&' ? entityAt(html, pos) : nullptr) {
            out += entity->output;
            pos += std::strlen(entity->name) + 2;
        } else {
            out += c;
            ++pos;
        }
    }
    return out;
}
