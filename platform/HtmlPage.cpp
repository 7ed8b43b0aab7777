#include "platform/HtmlPage.h"

#include "platform/HtmlPageSanitizer.h"

#include <algorithm>
#include <exception>

namespace {

// The engine ships no defaults of its own: these are the usual ones of a
// browser for what product pages use. Scripts, forms and plug-ins do not
// show; pictures wider than the view are narrowed to fit it.
const char kMasterStyleSheet[] = R"(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, h1, h2, h3, h4, h5, h6, ol, p, ul,
center, dir, hr, menu, pre, article, aside, footer, header, nav, section, figure, figcaption, main
    { display: block; }
html, body { height: auto; }
body { margin: 8px; color: #000000; }
li { display: list-item; }
head, script, style, title, meta, link, base, template, iframe, object, embed, applet, param,
input, select, textarea, button, noembed, noframes { display: none; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
col { display: table-column; }
colgroup { display: table-column-group; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { font-weight: bold; text-align: center; }
caption { display: table-caption; text-align: center; }
table[border] { border-style: solid; border-color: #a0a0a0; }
table[border] td, table[border] th { border: 1px solid #c0c0c0; }
table[border="0"], table[border="0"] td, table[border="0"] th { border-style: none; }
h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: 0.83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { margin: 1.33em 0; font-weight: bold; }
h5 { font-size: 0.83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: 0.67em; margin: 2.33em 0; font-weight: bold; }
p, dl, pre, fieldset, form { margin: 1em 0; }
ul, ol, menu, dir { margin: 1em 0; padding-left: 40px; }
ul ul, ul ol, ol ul, ol ol { margin: 0; }
ul, menu, dir { list-style-type: disc; }
ul ul, ol ul { list-style-type: circle; }
ol { list-style-type: decimal; }
blockquote { margin: 1em 40px; }
dd { margin-left: 40px; }
b, strong { font-weight: bold; }
i, em, cite, var, address, dfn { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
big { font-size: 1.17em; }
small { font-size: 0.83em; }
sub { vertical-align: sub; font-size: 0.83em; }
sup { vertical-align: super; font-size: 0.83em; }
pre, code, kbd, samp, tt { font-family: monospace; }
pre { white-space: pre; }
center { text-align: center; }
a[href] { color: #0645ad; text-decoration: underline; cursor: pointer; }
hr { border: 1px solid #c0c0c0; margin: 8px 0; height: 0; }
img { display: inline-block; max-width: 100%; }
br { display: block; }
)";

}

HtmlPage::HtmlPage(HtmlPictureFetcher& pictures, int width, int height)
    : m_container(pictures), m_width(std::max(1, width)), m_height(std::max(1, height))
{
    m_container.SetViewport(m_width, m_height);
}

HtmlPage::~HtmlPage() = default;

litehtml::context& HtmlPage::SharedContext()
{
    static litehtml::context context = [] {
        litehtml::context c;
        c.load_master_stylesheet(kMasterStyleSheet);
        return c;
    }();
    return context;
}

void HtmlPage::Discard()
{
    m_document.reset();
    m_contentHeight = 0;
    m_scrollTop = 0;
}

bool HtmlPage::Load(const std::string& utf8Html)
{
    Discard();
    const std::string page = HtmlPageSanitizer::Sanitize(utf8Html);
    if (page.empty())
        return false;
    try {
        m_document = litehtml::document::createFromString(page.c_str(), &m_container, &SharedContext());
        Layout();
    } catch (const std::exception&) {
        Discard();
    }
    return !IsEmpty();
}

void HtmlPage::Layout()
{
    if (!m_document)
        return;
    m_document->render(m_width);
    m_contentHeight = std::max(0, m_document->height());
    ClampScroll();
}

void HtmlPage::Relayout()
{
    try {
        Layout();
    } catch (const std::exception&) {
        Discard();
    }
}

void HtmlPage::ClampScroll()
{
    m_scrollTop = std::clamp(m_scrollTop, 0, std::max(0, m_contentHeight - m_height));
}

void HtmlPage::ScrollBy(int pixels)
{
    m_scrollTop = static_cast<int>(std::clamp<int64_t>(int64_t(m_scrollTop) + pixels, 0, INT32_MAX));
    ClampScroll();
}

PixelImage HtmlPage::Draw()
{
    PixelImage image(m_width, m_height, kBackground);
    if (!m_document)
        return image;
    HtmlPainter painter(image);
    m_container.SetClipPainter(&painter);
    const litehtml::position clip(0, 0, m_width, m_height);
    try {
        m_document->draw(reinterpret_cast<litehtml::uint_ptr>(&painter), 0, -m_scrollTop, &clip);
    } catch (const std::exception&) {
        image = PixelImage(m_width, m_height, kBackground);
    }
    m_container.SetClipPainter(nullptr);
    DrawScrollBar(painter);
    return image;
}

// A thin thumb at the right edge shows where the view is in a longer page.
void HtmlPage::DrawScrollBar(HtmlPainter& painter) const
{
    if (m_contentHeight <= m_height)
        return;
    const int64_t thumb = std::max<int64_t>(24, int64_t(m_height) * m_height / m_contentHeight);
    const int64_t travel = m_height - thumb;
    const int64_t top = travel * m_scrollTop / std::max(1, m_contentHeight - m_height);
    const int x = m_width - kScrollBarWidth - 2;
    painter.FillRect({x, 0, kScrollBarWidth, m_height}, 0x20000000);
    painter.FillRect({x, static_cast<int>(top), kScrollBarWidth, static_cast<int>(thumb)}, 0x80606060);
}

void HtmlPage::Click(int x, int y)
{
    if (!m_document)
        return;
    litehtml::position::vector redraw;
    try {
        const int pageY = y + m_scrollTop;
        m_document->on_lbutton_down(x, pageY, x, y, redraw);
        m_document->on_lbutton_up(x, pageY, x, y, redraw);
    } catch (const std::exception&) {
        Discard();
    }
}
