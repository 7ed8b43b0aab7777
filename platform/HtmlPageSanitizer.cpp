#include "platform/HtmlPageSanitizer.h"

#include <Poco/TextConverter.h>
#include <Poco/UTF8Encoding.h>

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <unordered_map>
#include <vector>

namespace {

bool IsOneOf(const std::string& name, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

bool IsVoid(const std::string& name)
{
    return IsOneOf(name, {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "img",
                          "input", "keygen", "link", "meta", "param", "source", "track", "wbr"});
}

// Elements whose content is text up to their end tag, never markup.
bool IsRawText(const std::string& name)
{
    return IsOneOf(name, {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"});
}

bool IsTablePart(const std::string& name)
{
    return IsOneOf(name, {"tr", "td", "th", "tbody", "thead", "tfoot", "caption", "col", "colgroup"});
}

bool IsCell(const std::string& name)
{
    return name == "td" || name == "th";
}

bool IsRowGroup(const std::string& name)
{
    return IsOneOf(name, {"tbody", "thead", "tfoot"});
}

// Block elements whose start ends an open paragraph.
bool EndsParagraph(const std::string& name)
{
    return IsOneOf(name, {"p", "div", "table", "ul", "ol", "dl", "h1", "h2", "h3", "h4", "h5", "h6", "pre",
                          "blockquote", "form", "center", "address", "fieldset", "section", "article"});
}

struct Tag
{
    std::string name;  // lower case
    bool closing = false;
    size_t end = 0;  // one past the closing '>'
};

size_t SkipQuotedValue(const std::string& s, size_t i)
{
    const char quote = s[i];
    const size_t close = s.find(quote, i + 1);
    return close == std::string::npos ? s.size() : close + 1;
}

bool StartsTagName(const std::string& s, size_t lt)
{
    const size_t i = lt + 1 < s.size() && s[lt + 1] == '/' ? lt + 2 : lt + 1;
    return i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]));
}

// Reads the tag that starts at s[at] == '<'. False when the '<' starts no
// tag (it is then text) or the tag never ends.
bool ReadTag(const std::string& s, size_t at, Tag& tag)
{
    if (!StartsTagName(s, at))
        return false;
    size_t i = at + 1;
    tag.closing = s[i] == '/';
    if (tag.closing)
        ++i;
    tag.name.clear();
    while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i])) && s[i] != '/' && s[i] != '>')
        tag.name += static_cast<char>(std::tolower(static_cast<unsigned char>(s[i++])));
    bool afterEquals = false;
    while (i < s.size() && s[i] != '>') {
        const char c = s[i];
        if (afterEquals && (c == '"' || c == '\'')) {
            i = SkipQuotedValue(s, i);
            afterEquals = false;
            continue;
        }
        if (c == '=')
            afterEquals = true;
        else if (!std::isspace(static_cast<unsigned char>(c)))
            afterEquals = false;
        ++i;
    }
    if (i >= s.size())
        return false;
    tag.end = i + 1;
    return true;
}

size_t FindCaseless(const std::string& s, const std::string& needle, size_t from)
{
    auto it = std::search(s.begin() + static_cast<std::ptrdiff_t>(from), s.end(), needle.begin(), needle.end(),
                          [](char a, char b) {
                              return std::tolower(static_cast<unsigned char>(a)) ==
                                     std::tolower(static_cast<unsigned char>(b));
                          });
    return it == s.end() ? std::string::npos : static_cast<size_t>(it - s.begin());
}

bool BreaksLine(const std::string& name)
{
    return name == "br" || name == "tr" || name == "li" || EndsParagraph(name);
}

// Appends page text to the plain version, one blank for each run of white
// space and one line break for each run of breaks.
class PlainTextWriter
{
public:
    explicit PlainTextWriter(size_t maxBytes) : m_maxBytes(maxBytes) {}

    bool IsFull() const { return m_out.size() >= m_maxBytes; }

    void Text(const std::string& page, size_t from, size_t to)
    {
        for (size_t i = from; i < to && !IsFull(); ++i) {
            const char c = page[i];
            if (std::isspace(static_cast<unsigned char>(c)))
                Space(' ');
            else
                m_out += c;
        }
    }

    // A blank or a line break; a break wins over the blank before it.
    void Space(char kind)
    {
        if (m_out.empty() || IsFull() || m_out.back() == '\n')
            return;
        if (m_out.back() == ' ')
            m_out.back() = kind;
        else
            m_out += kind;
    }

    // A '<' that starts no tag stays text.
    void LessThan()
    {
        if (!IsFull())
            m_out += "&lt;";
    }

    std::string Finish()
    {
        m_out.resize(std::min(m_out.size(), m_maxBytes));
        DropCutCharacter();
        while (!m_out.empty() && std::isspace(static_cast<unsigned char>(m_out.back())))
            m_out.pop_back();
        return HtmlPageSanitizer::ValidUtf8(m_out);
    }

private:
    static size_t SequenceLength(unsigned char lead)
    {
        return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    }

    // A character cut at the limit is left out whole.
    void DropCutCharacter()
    {
        size_t lead = m_out.size();
        while (lead > 0 && (static_cast<unsigned char>(m_out[lead - 1]) & 0xC0) == 0x80)
            --lead;
        if (lead > 0 && m_out.size() - (lead - 1) < SequenceLength(static_cast<unsigned char>(m_out[lead - 1])))
            m_out.resize(lead - 1);
    }

    size_t m_maxBytes;
    std::string m_out;
};

// Keeps the open elements up to the limits and drops the tags beyond them.
// Tags dropped for depth are counted by name, so that their end tags are
// dropped too instead of closing an element that was kept.
class Flattener
{
public:
    explicit Flattener(const std::string& page) : m_page(page) { m_out.reserve(page.size()); }

    std::string Run()
    {
        size_t i = 0;
        while (i < m_page.size()) {
            const size_t lt = m_page.find('<', i);
            if (lt == std::string::npos) {
                m_out.append(m_page, i, std::string::npos);
                break;
            }
            m_out.append(m_page, i, lt - i);
            i = Markup(lt);
        }
        return std::move(m_out);
    }

private:
    size_t Markup(size_t lt)
    {
        if (m_page.compare(lt, 4, "<!--") == 0)
            return CopyThrough(lt, m_page.find("-->", lt + 4), 3);
        if (lt + 1 < m_page.size() && (m_page[lt + 1] == '!' || m_page[lt + 1] == '?'))
            return CopyThrough(lt, m_page.find('>', lt), 1);
        Tag tag;
        if (!ReadTag(m_page, lt, tag)) {
            // A '<' that starts no tag is text; a tag that never ends is
            // dropped with the rest of the page, as a browser would.
            if (StartsTagName(m_page, lt))
                return m_page.size();
            m_out += "&lt;";
            return lt + 1;
        }
        const std::string text = m_page.substr(lt, tag.end - lt);
        if (tag.closing) {
            Close(tag.name, text);
            return tag.end;
        }
        if (IsRawText(tag.name))
            return CopyRawText(tag, text);
        Open(tag.name, text);
        return tag.end;
    }

    size_t CopyThrough(size_t from, size_t found, size_t tail)
    {
        const size_t end = found == std::string::npos ? m_page.size() : found + tail;
        m_out.append(m_page, from, end - from);
        return end;
    }

    // Raw-text elements hold no markup, so they never add depth.
    size_t CopyRawText(const Tag& tag, const std::string& text)
    {
        m_out += text;
        const size_t close = FindCaseless(m_page, "</" + tag.name, tag.end);
        const size_t end = close == std::string::npos ? m_page.size() : close;
        m_out.append(m_page, tag.end, end - tag.end);
        return end;
    }

    void Open(const std::string& name, const std::string& text)
    {
        if (IsVoid(name)) {
            m_out += text;
            return;
        }
        if (m_droppedTables > 0 && IsTablePart(name)) {
            m_out += name == "tr" ? "<br>" : " ";
            return;
        }
        if (name == "table" && m_tables >= HtmlPageSanitizer::kMaxTableDepth) {
            ++m_droppedTables;
            m_out += "<br>";
            return;
        }
        CloseImplied(name);
        if (m_open.size() >= static_cast<size_t>(HtmlPageSanitizer::kMaxDepth)) {
            ++m_dropped[name];
            return;
        }
        Push(name);
        m_out += text;
    }

    void Close(const std::string& name, const std::string& text)
    {
        if (m_droppedTables > 0 && (name == "table" || IsTablePart(name))) {
            if (name == "table")
                --m_droppedTables;
            return;
        }
        auto dropped = m_dropped.find(name);
        if (dropped != m_dropped.end() && dropped->second > 0) {
            --dropped->second;
            return;
        }
        PopThrough(name);
        m_out += text;
    }

    // The start tags that end an element still open, in the way the HTML
    // parser will: a new cell ends the cell, a new row the row, and so on.
    void CloseImplied(const std::string& name)
    {
        if (name == "tr" || IsRowGroup(name)) {
            PopWhile([](const std::string& top) { return IsCell(top); });
            PopWhile([](const std::string& top) { return top == "tr"; });
        }
        if (IsRowGroup(name))
            PopWhile([](const std::string& top) { return IsRowGroup(top); });
        if (IsCell(name))
            PopWhile([](const std::string& top) { return IsCell(top); });
        if (name == "li" || name == "option")
            PopWhile([&](const std::string& top) { return top == name; });
        if (name == "dt" || name == "dd")
            PopWhile([](const std::string& top) { return top == "dt" || top == "dd"; });
        if (EndsParagraph(name))
            PopWhile([](const std::string& top) { return top == "p"; });
    }

    template <typename Predicate>
    void PopWhile(Predicate endsHere)
    {
        while (!m_open.empty() && endsHere(m_open.back()))
            Pop();
    }

    void PopThrough(const std::string& name)
    {
        auto it = std::find(m_open.rbegin(), m_open.rend(), name);
        if (it == m_open.rend())
            return;
        const size_t keep = static_cast<size_t>(m_open.rend() - it) - 1;
        while (m_open.size() > keep)
            Pop();
    }

    void Push(const std::string& name)
    {
        m_open.push_back(name);
        if (name == "table")
            ++m_tables;
    }

    void Pop()
    {
        if (m_open.back() == "table")
            --m_tables;
        m_open.pop_back();
    }

    const std::string& m_page;
    std::string m_out;
    std::vector<std::string> m_open;
    std::unordered_map<std::string, int> m_dropped;
    int m_tables = 0;
    int m_droppedTables = 0;
};

}

std::string HtmlPageSanitizer::ValidUtf8(const std::string& text)
{
    Poco::UTF8Encoding utf8;
    Poco::TextConverter converter(utf8, utf8, '?');
    std::string out;
    converter.convert(text, out);
    out.erase(std::remove(out.begin(), out.end(), '\0'), out.end());
    return out;
}

std::string HtmlPageSanitizer::Sanitize(const std::string& utf8Html)
{
    if (utf8Html.size() > kMaxPageBytes)
        return std::string();
    const std::string page = ValidUtf8(utf8Html);
    return Flattener(page).Run();
}

std::string HtmlPageSanitizer::PlainText(const std::string& utf8Html, size_t maxBytes)
{
    const std::string& s = utf8Html;
    PlainTextWriter writer(maxBytes);
    size_t i = 0;
    while (i < s.size() && !writer.IsFull()) {
        const size_t lt = std::min(s.find('<', i), s.size());
        writer.Text(s, i, lt);
        if (lt == s.size())
            break;
        Tag tag;
        if (s.compare(lt, 4, "<!--") == 0) {
            const size_t close = s.find("-->", lt + 4);
            i = close == std::string::npos ? s.size() : close + 3;
        } else if (!ReadTag(s, lt, tag)) {
            // A tag that never ends hides the rest of the page, as it does in
            // the sanitised page and in a browser; reading on as text would
            // scan the rest of the page again for each '<' in it.
            if (StartsTagName(s, lt))
                break;
            writer.LessThan();
            i = lt + 1;
        } else if (!tag.closing && IsRawText(tag.name)) {
            const size_t close = FindCaseless(s, "</" + tag.name, tag.end);
            i = close == std::string::npos ? s.size() : close;
        } else {
            if (BreaksLine(tag.name) || IsCell(tag.name))
                writer.Space(IsCell(tag.name) ? ' ' : '\n');
            i = tag.end;
        }
    }
    return writer.Finish();
}
