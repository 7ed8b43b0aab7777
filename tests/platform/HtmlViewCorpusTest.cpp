#include "platform/HtmlPage.h"
#include "platform/HtmlPictureFetcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Repeat(const std::string& part, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

const char kMalformed[] = "<p>\xFF\xFE\xC3\x28\xE2\x82\x28\0after</p>";

struct HostilePage
{
    const char* name;
    std::string html;
};

// Descriptions written by sellers, or by someone who wants the viewer to
// fall over: each of these crashes, hangs or misleads an unguarded engine.
std::vector<HostilePage> Corpus()
{
    return {
        {"negative colspan", "<table><tr><td colspan=-1>a</td><td>b</td></tr></table>"},
        {"huge colspan", "<table><tr><td colspan=2147483647>a</td></tr><tr><td>b</td></tr></table>"},
        {"negative rowspan", "<table><tr><td rowspan=-5>a</td></tr><tr><td>b</td></tr></table>"},
        {"huge rowspan", "<table><tr><td rowspan=99999999>a</td><td>b</td></tr></table>"},
        {"zero and junk spans", "<table><tr><td colspan=0 rowspan=x>a</td><th colspan=' 3e9'>b</th></tr></table>"},
        {"unclosed nesting", Repeat("<div>", 60000) + "deep"},
        {"unclosed inline nesting", Repeat("<b><i><u><span>", 20000) + "deep"},
        {"nested tables", Repeat("<table><tr><td>", 40) + "x" + Repeat("</td></tr></table>", 40)},
        {"unclosed nested tables", Repeat("<table><tr><td>", 3000)},
        {"scripted links", "<a href='javascript:alert(1)'>a</a><img src='javascript:alert(2)'>"
                           "<link rel=stylesheet href='javascript:alert(3)'><img src='file:///etc/passwd'>"},
        {"imports", "<style>@import url(file:///etc/passwd); @import url(javascript:x);</style><p>x</p>"},
        {"unreachable pictures", "<img src='http://127.0.0.1:1/a.jpg'><div style=\"background:url("
                                 "'http://127.0.0.1:1/b.png') repeat\">x</div>"},
        {"huge sizes", "<p style='font-size:100000px'>big</p><img width=2000000000 height=2000000000>"
                       "<div style='width:99999999px;height:99999999px;margin-left:-99999999px'>x</div>"},
        {"negative sizes", "<img width=-50 height=-50><div style='width:-10px;padding:-5px;border:-3px solid'>x</div>"},
        {"malformed bytes", std::string(kMalformed, sizeof(kMalformed) - 1)},
        {"unterminated", "<div><table><tr><td><!-- never closed <p>"},
        {"broken tags", "<<<>>><//p></></ div><div <div>>x</div <p/><br/ ><img/src=x>"},
        {"many columns", "<table><tr>" + Repeat("<td>c</td>", 3000) + "</tr></table>"},
        {"many rows", "<table>" + Repeat("<tr><td>r</td><td>s</td></tr>", 3000) + "</table>"},
        {"lists", Repeat("<ul><li>", 500) + Repeat("<ol start=-5><li value=-1>", 500)},
        {"floats and positions", Repeat("<div style='float:left;position:absolute;top:-1px'>f", 300)},
        {"empty", ""},
        {"text only", "只有文字，没有标签。"},
        {"style torture", "<style>" + Repeat("div div div ", 500) + "{color:red}*{display:table-cell}</style>"
                          "<div><p>x</p></div>"},
        {"display chaos", "<span style='display:table-row'><b style='display:table'>"
                          "<i style='display:list-item;list-style-image:url(javascript:x)'>x</i></b></span>"},
    };
}

}

TEST(HtmlViewCorpus, HostilePagesNeverCrashAndAlwaysDraw)
{
    HtmlPictureFetcher pictures;
    for (const HostilePage& hostile : Corpus()) {
        SCOPED_TRACE(hostile.name);
        HtmlPage page(pictures, 400, 300);
        page.Load(hostile.html);
        page.ScrollBy(250);
        page.Click(30, 30);
        page.Relayout();
        const PixelImage frame = page.Draw();
        EXPECT_EQ(frame.Width(), 400);
        EXPECT_EQ(frame.Height(), 300);
        EXPECT_GE(page.ScrollTop(), 0);
        EXPECT_LE(page.ScrollTop(), std::max(0, page.ContentHeight() - 300));
        EXPECT_TRUE(page.TakeClickedLinks().empty());
    }
    pictures.Stop();
}

TEST(HtmlViewCorpus, OnlyWebLinksAreEverFollowed)
{
    HtmlPictureFetcher pictures;
    for (const std::string href : {"http://127.0.0.1/ok.htm", "javascript:alert(1)", "file:///etc/passwd",
                                   "JavaScript:alert(2)", "data:text/html,x"}) {
        SCOPED_TRACE(href);
        HtmlPage page(pictures, 400, 300);
        ASSERT_TRUE(page.Load("<a href='" + href + "' style='display:block;width:400px;height:120px'>link</a>"));
        page.Click(30, 30);
        const std::vector<std::string> links = page.TakeClickedLinks();
        if (href.rfind("http://", 0) == 0)
            EXPECT_EQ(links, std::vector<std::string>{href}) << "the click lands on the link";
        else
            EXPECT_TRUE(links.empty());
    }
    pictures.Stop();
}

TEST(HtmlViewCorpus, ASpanClampedPageStillLaysOutItsCells)
{
    HtmlPictureFetcher pictures;
    HtmlPage page(pictures, 400, 300);
    ASSERT_TRUE(page.Load("<table border=1><tr><td colspan=-3>左</td><td rowspan=-1>右</td></tr></table>"));
    EXPECT_GT(page.ContentHeight(), 10);
    pictures.Stop();
}

TEST(HtmlViewCorpus, CellsTakeTheirTablesPaddingWithinBounds)
{
    HtmlPictureFetcher pictures;
    auto heightWith = [&](const std::string& padding) {
        HtmlPage page(pictures, 400, 300);
        page.Load("<table cellpadding=" + padding + "><tr><td>格</td></tr><tr><td>格</td></tr></table>");
        return page.ContentHeight();
    };
    const int plain = heightWith("0");
    EXPECT_EQ(heightWith("10") - plain, 4 * 10);
    EXPECT_EQ(heightWith("-10"), plain);
    EXPECT_EQ(heightWith("99999"), heightWith("100"));
    pictures.Stop();
}

TEST(HtmlViewCorpus, APageTooLargeToShowIsEmpty)
{
    HtmlPictureFetcher pictures;
    HtmlPage page(pictures, 400, 300);
    EXPECT_FALSE(page.Load(std::string(2 * 1024 * 1024, 'x')));
    EXPECT_TRUE(page.IsEmpty());
    const PixelImage frame = page.Draw();
    EXPECT_EQ(frame.Pixel(200, 150), HtmlPage::kBackground);
    pictures.Stop();
}
