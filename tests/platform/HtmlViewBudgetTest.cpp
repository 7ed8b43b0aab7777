#include "platform/HtmlLayoutBudget.h"
#include "platform/HtmlPage.h"
#include "platform/HtmlPageSanitizer.h"
#include "platform/HtmlResourceFetcher.h"
#include "platform/HtmlView.h"
#include "tests/support/HostilePages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string PageNamed(const char* name)
{
    for (const NamedPage& page : HeavyPages())
        if (std::string(page.name) == name)
            return page.html;
    return std::string();
}

bool IsDark(uint32_t argb)
{
    return ((argb >> 16) & 0xFF) < 96 && ((argb >> 8) & 0xFF) < 96 && (argb & 0xFF) < 96;
}

int DarkPixels(const PixelImage& image)
{
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            n += IsDark(image.Pixel(x, y));
    return n;
}

const HtmlLayoutBudget::Limits kOneMiB{std::chrono::milliseconds(60000), 1 << 20};

struct Thrown
{
};

struct AllocatesWhenDestroyed
{
    ~AllocatesWhenDestroyed() { held = std::make_unique<std::vector<char>>(4096); }
    std::unique_ptr<std::vector<char>>& held;
};

}

TEST(HtmlViewBudget, AllocationsPastTheMemoryLimitAreRefusedWhileFreedMemoryCountsBack)
{
    HtmlLayoutBudget budget(kOneMiB, nullptr);
    std::vector<std::unique_ptr<std::vector<char>>> kept;
    bool refused = false;
    {
        const HtmlLayoutBudget::Scope scope(budget);
        for (int i = 0; i < 40; ++i)
            std::vector<char> passing(512 * 1024);
        try {
            for (int i = 0; i < 40; ++i)
                kept.push_back(std::make_unique<std::vector<char>>(256 * 1024));
        } catch (const HtmlLayoutBudget::Exceeded&) {
            refused = true;
        }
    }
    EXPECT_TRUE(refused);
    EXPECT_EQ(budget.State(), HtmlLayoutBudget::Verdict::OverMemory);
    EXPECT_LE(kept.size(), 4u);
    EXPECT_GT(budget.PeakBytes(), 1 << 20);
    EXPECT_LT(budget.PeakBytes(), 2 << 20);
    std::vector<char> afterwards(8 << 20);
    EXPECT_EQ(afterwards.size(), size_t(8) << 20);
}

TEST(HtmlViewBudget, AbandonedWorkStopsAtItsNextAllocations)
{
    std::atomic<bool> abandoned{false};
    HtmlLayoutBudget budget(kOneMiB, &abandoned);
    int made = 0;
    try {
        const HtmlLayoutBudget::Scope scope(budget);
        for (; made < 100000; ++made) {
            std::string text(100, 'x');
            if (made == 1000)
                abandoned = true;
        }
    } catch (const HtmlLayoutBudget::Exceeded&) {
    }
    EXPECT_EQ(budget.State(), HtmlLayoutBudget::Verdict::Abandoned);
    EXPECT_GE(made, 1000);
    EXPECT_LT(made, 1000 + 200);
}

TEST(HtmlViewBudget, CleaningUpAfterAnExceptionNeverFails)
{
    HtmlLayoutBudget budget({std::chrono::milliseconds(60000), 0}, nullptr);
    std::unique_ptr<std::vector<char>> held;
    bool caught = false;
    try {
        const HtmlLayoutBudget::Scope scope(budget);
        const AllocatesWhenDestroyed cleanup{held};
        throw Thrown();
    } catch (const Thrown&) {
        caught = true;
    }
    EXPECT_TRUE(caught);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->size(), 4096u);
}

TEST(HtmlViewBudget, APageOverItsBudgetShowsItsTextInstead)
{
    HtmlResourceFetcher resources;
    for (const char* name : {"huge spans", "long row"}) {
        SCOPED_TRACE(name);
        const std::string hostile = PageNamed(name);
        HtmlPage page(resources, 400, 300);
        const auto started = Clock::now();
        EXPECT_TRUE(page.Load(hostile));
        EXPECT_LT(Clock::now() - started, HtmlLayoutBudget::kPageLimits.time + std::chrono::seconds(2));
        EXPECT_TRUE(page.IsFallback());
        EXPECT_NE(page.LastVerdict(), HtmlLayoutBudget::Verdict::Abandoned);
        EXPECT_GT(DarkPixels(page.Draw()), 50) << "the page's text is shown";
    }
    resources.Stop();
}

TEST(HtmlViewBudget, ATypicalLongDescriptionIsLaidOutInFull)
{
    HtmlResourceFetcher resources;
    HtmlPage page(resources, 640, 520);
    const std::string description = SellerDescription(100 * 1024);
    EXPECT_TRUE(page.Load(description));
    EXPECT_FALSE(page.IsFallback());
    EXPECT_EQ(page.LastVerdict(), HtmlLayoutBudget::Verdict::Within);
    EXPECT_GT(page.ContentHeight(), 5000);
    resources.Stop();
}

// Refusing allocations at every kind of point inside the engine must never
// crash it or leave a page that cannot be drawn.
TEST(HtmlViewBudget, BudgetsSpentAtAnyPointLeaveADrawablePage)
{
    HtmlResourceFetcher resources;
    const std::vector<std::string> pages = {SellerDescription(100 * 1024), PageNamed("deep nesting"),
                                            "<style>p{color:red}</style><ul><li><p>列表</p></li></ul>"};
    for (int64_t bytes : {int64_t(0), int64_t(4) << 10, int64_t(64) << 10, int64_t(512) << 10, int64_t(4) << 20}) {
        for (const std::string& html : pages) {
            SCOPED_TRACE(bytes);
            HtmlPage page(resources, 400, 300);
            page.SetLimits({std::chrono::milliseconds(60000), bytes});
            page.Load(html);
            page.Relayout();
            page.Click(20, 20);
            EXPECT_EQ(page.Draw().Width(), 400);
        }
    }
    resources.Stop();
}

TEST(HtmlViewBudget, ThePlainTextVersionKeepsOnlyWhatAReaderReads)
{
    EXPECT_EQ(HtmlPageSanitizer::PlainText("<p>一 <b>二</b>\n\n  三</p><script>var x='<p>';</script><p>四</p>", 100),
              "一 二 三\n四");
    EXPECT_EQ(HtmlPageSanitizer::PlainText("<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", 100),
              "a b\nc");
    EXPECT_EQ(HtmlPageSanitizer::PlainText("<style>p{}</style><!-- <p>x</p> -->1 < 2 &amp; 3", 100),
              "1 &lt; 2 &amp; 3");
    EXPECT_EQ(HtmlPageSanitizer::PlainText("中文字", 7), "中文") << "a character cut at the limit is left out";
    EXPECT_EQ(HtmlPageSanitizer::PlainText(std::string(5000, 'x'), 10).size(), 10u);
    EXPECT_EQ(HtmlPageSanitizer::PlainText("前 <b>文</b> <a href='x后", 100), "前 文")
        << "a tag that never ends hides the rest, as in a browser";
}

TEST(HtmlViewBudget, APageTooLargeToLayOutShowsTheStartOfItsText)
{
    HtmlResourceFetcher resources;
    HtmlPage page(resources, 400, 300);
    EXPECT_TRUE(page.Load(std::string(2 * 1024 * 1024, 'x')));
    EXPECT_TRUE(page.IsFallback());
    EXPECT_GT(DarkPixels(page.Draw()), 50);
    resources.Stop();
}

// What the detail window does when the user clicks the next card while the
// first card's page is still being laid out.
TEST(HtmlViewBudget, TheNextProductsPageIsDrawnWithinASecondOfAHostileOne)
{
    for (const NamedPage& hostile : HeavyPages()) {
        SCOPED_TRACE(hostile.name);
        auto first = std::make_unique<HtmlView>(400, 300);
        first->Load(hostile.html);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto clicked = Clock::now();
        first.reset();
        HtmlView next(400, 300);
        next.Load("<p style='font-size:40px'>下一个宝贝</p>");
        HtmlFrame frame;
        while (!next.TakeFrame(frame) && Clock::now() - clicked < std::chrono::seconds(3))
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_LT(Clock::now() - clicked, std::chrono::seconds(1));
        EXPECT_GT(DarkPixels(frame.pixels), 100);
    }
}
