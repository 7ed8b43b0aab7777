// What product pages cost the layout thread: time and peak memory of laying
// out each hostile page and a typical 20 KB description, and how long the
// next product's page takes to appear when it is opened while a hostile
// page is still being laid out. Prints min/median/max over the runs.
#include "platform/HtmlPage.h"
#include "platform/HtmlResourceFetcher.h"
#include "platform/HtmlView.h"
#include "tests/support/HostilePages.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 10;
constexpr int kViewWidth = 776;
constexpr int kViewHeight = 420;
constexpr double kNextPageGoalMs = 1000;

struct Spread
{
    double min, median, max;
};

Spread SpreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

const char* VerdictName(HtmlLayoutBudget::Verdict verdict)
{
    switch (verdict) {
    case HtmlLayoutBudget::Verdict::Within:
        return "within";
    case HtmlLayoutBudget::Verdict::OverTime:
        return "over time";
    case HtmlLayoutBudget::Verdict::OverMemory:
        return "over memory";
    case HtmlLayoutBudget::Verdict::Abandoned:
        return "abandoned";
    }
    return "?";
}

void MeasureLayout(HtmlResourceFetcher& resources, const NamedPage& page)
{
    std::vector<double> times, peaks;
    bool fallback = false;
    HtmlLayoutBudget::Verdict verdict = HtmlLayoutBudget::Verdict::Within;
    for (int run = 0; run < kRuns; ++run) {
        HtmlPage layout(resources, kViewWidth, kViewHeight);
        const auto start = Clock::now();
        layout.Load(page.html);
        layout.Draw();
        times.push_back(MillisecondsSince(start));
        peaks.push_back(double(layout.PeakBytes()) / (1 << 20));
        fallback = layout.IsFallback();
        verdict = fallback ? verdict : layout.LastVerdict();
    }
    const Spread t = SpreadOf(times), m = SpreadOf(peaks);
    std::printf("%-26s %7zu B  layout ms %7.1f %7.1f %7.1f   peak MiB %6.1f %6.1f %6.1f   %s\n", page.name,
                page.html.size(), t.min, t.median, t.max, m.min, m.median, m.max,
                fallback ? "text fallback" : VerdictName(verdict));
}

// The user clicks the next card 100 ms into the hostile page's layout.
void MeasureNextPage(const NamedPage& hostile, const std::string& next)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        auto first = std::make_unique<HtmlView>(kViewWidth, kViewHeight);
        first->Load(hostile.html);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto clicked = Clock::now();
        first.reset();
        HtmlView second(kViewWidth, kViewHeight);
        second.Load(next);
        HtmlFrame frame;
        while (!second.TakeFrame(frame))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        times.push_back(MillisecondsSince(clicked));
    }
    const Spread t = SpreadOf(times);
    std::printf("next page after %-16s ms %7.1f %7.1f %7.1f   (goal <= %.0f ms)\n", hostile.name, t.min, t.median,
                t.max, kNextPageGoalMs);
}

}

int main()
{
    HtmlResourceFetcher resources;
    std::printf("layout budget: %lld ms, %lld MiB; %d runs each\n",
                static_cast<long long>(HtmlLayoutBudget::kPageLimits.time.count()),
                static_cast<long long>(HtmlLayoutBudget::kPageLimits.bytes >> 20), kRuns);
    const std::string typical = SellerDescription(20 * 1024);
    MeasureLayout(resources, {"typical 20 KB description", typical});
    MeasureLayout(resources, {"typical 100 KB description", SellerDescription(100 * 1024)});
    for (const NamedPage& page : HeavyPages())
        MeasureLayout(resources, page);
    for (const NamedPage& page : HostilePages())
        MeasureLayout(resources, page);
    for (const NamedPage& page : HeavyPages())
        MeasureNextPage(page, typical);
    HtmlView::Shutdown();
    resources.Stop();
    return 0;
}
