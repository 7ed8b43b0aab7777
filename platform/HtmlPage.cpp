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

HtmlPage::HtmlPage(HtmlResourceFetcher& resources, int width, int height, const std::atomic<bool>* abandoned)
    : m_container(resources), m_abandoned(abandoned), m_width(std::max(1, width)), m_height(std::max(1, height))
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

// The budget's scope ends inside the try, so that the handler and all that
// follows allocate freely again.
template <typename Work>
bool HtmlPage::WithinBudget(Work work)
{
    HtmlLayoutBudget budget(m_limits, m_abandoned);
    bool done = false;
    try {
        const HtmlLayoutBudget::Scope scope(budget);
        work();
        done = true;
    } catch (const std::exception&) {
    }
    m_verdict = budget.State();
    m_peakBytes = std::max(m_peakBytes, budget.PeakBytes());
    return done && m_verdict == HtmlLayoutBudget::Verdict::Within;
}

bool HtmlPage::Load(const std::string& utf8Html)
{
    Discard();
    m_text = utf8Html;
    m_fallback = false;
    m_peakBytes = 0;
    std::string page;
    if (WithinBudget([&] { page = HtmlPageSanitizer::Sanitize(utf8Html); }) && !page.empty() && Build(page))
        return true;
    return ShowFallback();
}

bool HtmlPage::Build(const std::string& page)
{
    m_source = page;
    const int scrollTop = m_scrollTop;
    Discard();
    m_container.BeginDocument();
    const bool built = WithinBudget([&] {
        m_document = litehtml::document::createFromString(m_source.c_str(), &m_container, &SharedContext());
        Layout();
    });
    if (!built) {
        Discard();
        return false;
    }
    m_scrollTop = scrollTop;
    ClampScroll();
    return true;
}

// The seller's text without its markup, cut short: what a reader needs when
// the page itself cannot be laid out. Nothing is shown for a page whose work
// was abandoned, as a newer page takes its place.
bool HtmlPage::ShowFallback()
{
    Discard();
    if (m_verdict == HtmlLayoutBudget::Verdict::Abandoned || m_fallback)
        return false;
    m_fallback = true;
    std::string text;
    if (!WithinBudget([&] { text = HtmlPageSanitizer::PlainText(m_text, kFallbackTextBytes); }) || text.empty())
        return false;
    return Build("<div style=\"white-space:pre-line\">" + text + "</div>");
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
    if (!m_document)
        return;
    if (m_container.HasNewStyleSheets()) {
        if (!Build(m_source))
            ShowFallback();
        return;
    }
    if (!WithinBudget([this] { Layout(); }))
        ShowFallback();
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

// A drawing cut short by the budget keeps what it had drawn.
PixelImage HtmlPage::Draw()
{
    PixelImage image(m_width, m_height, kBackground);
    if (!m_document)
        return image;
    HtmlPainter painter(image);
    m_container.SetClipPainter(&painter);
    const litehtml::position clip(0, 0, m_width, m_height);
    WithinBudget([&] { m_document->draw(reinterpret_cast<litehtml::uint_ptr>(&painter), 0, -m_scrollTop, &clip); });
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
    const int pageY = y + m_scrollTop;
    const bool clicked = WithinBudget([&] {
        m_document->on_lbutton_down(x, pageY, x, y, redraw);
        m_document->on_lbutton_up(x, pageY, x, y, redraw);
    });
    if (!clicked)
        Discard();
}
