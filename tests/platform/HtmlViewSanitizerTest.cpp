#include "platform/HtmlPageSanitizer.h"
#include "platform/HtmlTableCell.h"

#include <gtest/gtest.h>

#include <string>

namespace {

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

std::string Repeat(const std::string& part, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += part;
    return out;
}

}

TEST(HtmlViewSanitizer, OrdinaryPagesPassUnchanged)
{
    const std::string page =
        "<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"
        "<div style=\"text-align:center\"><img src='http://a/b.jpg_310x310.jpg'style='margin:10;padding:0'/><br>"
        "<b>结束时间：2026-01-01</b><br><br></div><!-- <div><div> --><p>一<p>二<ul><li>a<li>b</ul>"
        "<table border=1><tr><td>x<td>y<tr><td colspan=2>z</table><script>if (a<b) x='<div>';</script></html>";
    EXPECT_EQ(HtmlPageSanitizer::Sanitize(page), page);
}

TEST(HtmlViewSanitizer, UnclosedNestingIsFlattenedBelowTheLimitAndTextIsKept)
{
    const std::string page = Repeat("<div><span>", 50000) + "深处的文字";
    const std::string safe = HtmlPageSanitizer::Sanitize(page);
    EXPECT_EQ(Count(safe, "<div>") + Count(safe, "<span>"), size_t(HtmlPageSanitizer::kMaxDepth));
    EXPECT_NE(safe.find("深处的文字"), std::string::npos);
}

TEST(HtmlViewSanitizer, EndTagsOfDroppedElementsAreDroppedSoKeptOnesStayOpen)
{
    const int depth = HtmlPageSanitizer::kMaxDepth + 40;
    const std::string page = Repeat("<div>", depth) + "x" + Repeat("</div>", depth) + "<p>after</p>";
    const std::string safe = HtmlPageSanitizer::Sanitize(page);
    EXPECT_EQ(Count(safe, "<div>"), size_t(HtmlPageSanitizer::kMaxDepth));
    EXPECT_EQ(Count(safe, "</div>"), size_t(HtmlPageSanitizer::kMaxDepth));
    EXPECT_NE(safe.find(Repeat("</div>", HtmlPageSanitizer::kMaxDepth) + "<p>after</p>"), std::string::npos);
}

TEST(HtmlViewSanitizer, ElementsThatCloseTheirSiblingsDoNotCountAsNesting)
{
    const int count = HtmlPageSanitizer::kMaxDepth * 3;
    const std::string page = Repeat("<p>段落", count) + Repeat("<li>项", count) +
                             "<table>" + Repeat("<tr><td>格<td>格", count) + "</table>";
    const std::string safe = HtmlPageSanitizer::Sanitize(page);
    EXPECT_EQ(Count(safe, "<p>"), size_t(count));
    EXPECT_EQ(Count(safe, "<li>"), size_t(count));
    EXPECT_EQ(Count(safe, "<td>"), size_t(2 * count));
}

TEST(HtmlViewSanitizer, DeepTablesAreFlattenedWithTheirCellsKeptApart)
{
    const int depth = 30;
    const std::string page = Repeat("<table><tr><td>格", depth) + Repeat("</td></tr></table>", depth) + "尾";
    const std::string safe = HtmlPageSanitizer::Sanitize(page);
    EXPECT_EQ(Count(safe, "<table>"), size_t(HtmlPageSanitizer::kMaxTableDepth));
    EXPECT_EQ(Count(safe, "</table>"), size_t(HtmlPageSanitizer::kMaxTableDepth));
    EXPECT_EQ(Count(safe, "格"), size_t(depth));
    EXPECT_NE(safe.find("</table>尾"), std::string::npos);
}

TEST(HtmlViewSanitizer, RawTextAndCommentsAreNotReadAsMarkup)
{
    const std::string inner = Repeat("<div>", 2000);
    const std::string page = "<style>" + inner + "</style><!--" + inner + "--><textarea>" + inner + "</textarea>ok";
    EXPECT_EQ(HtmlPageSanitizer::Sanitize(page), page);
}

TEST(HtmlViewSanitizer, BrokenMarkupAndBytes)
{
    EXPECT_EQ(HtmlPageSanitizer::Sanitize("a < b <3 </ >"), "a &lt; b &lt;3 &lt;/ >");
    EXPECT_EQ(HtmlPageSanitizer::Sanitize("text<div class=\"never closed"), "text");
    EXPECT_EQ(HtmlPageSanitizer::Sanitize("<b title='a>b'>x</b>"), "<b title='a>b'>x</b>");
    EXPECT_EQ(HtmlPageSanitizer::Sanitize(std::string("a\0b", 3)), "ab");
    EXPECT_EQ(HtmlPageSanitizer::ValidUtf8("ok\xE4\xB8\xAD\xFF\xC3"), "ok中??");
    EXPECT_TRUE(HtmlPageSanitizer::Sanitize(std::string(HtmlPageSanitizer::kMaxPageBytes + 1, 'x')).empty());
}

TEST(HtmlViewTableCell, SpansAreClampedToWhatTheLayoutSurvives)
{
    EXPECT_EQ(HtmlTableCell::ClampSpan("3", 1000), 3);
    EXPECT_EQ(HtmlTableCell::ClampSpan("-7", 1000), 1);
    EXPECT_EQ(HtmlTableCell::ClampSpan("0", 1000), 1);
    EXPECT_EQ(HtmlTableCell::ClampSpan("wide", 1000), 1);
    EXPECT_EQ(HtmlTableCell::ClampSpan("1001", 1000), 1000);
    EXPECT_EQ(HtmlTableCell::ClampSpan("99999999999999999999999", 1000), 1000);
    EXPECT_EQ(HtmlTableCell::ClampSpan("-99999999999999999999999", 1000), 1);
}
