#include "platform/HtmlPage.h"
#include "platform/HtmlResourceFetcher.h"
#include "tests/support/HostilePages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(HtmlViewCorpus, HostilePagesNeverCrashAndAlwaysDraw)
{
    HtmlResourceFetcher pictures;
    for (const NamedPage& hostile : HostilePages()) {
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
    HtmlResourceFetcher pictures;
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
    HtmlResourceFetcher pictures;
    HtmlPage page(pictures, 400, 300);
    ASSERT_TRUE(page.Load("<table border=1><tr><td colspan=-3>左</td><td rowspan=-1>右</td></tr></table>"));
    EXPECT_GT(page.ContentHeight(), 10);
    pictures.Stop();
}

TEST(HtmlViewCorpus, CellsTakeTheirTablesPaddingWithinBounds)
{
    HtmlResourceFetcher pictures;
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
