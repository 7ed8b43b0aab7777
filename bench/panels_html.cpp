// The product page view on a 20 KB description with ten pictures from the
// local marketplace: parsing with layout, layout again (as each picture
// arrives), and drawing the visible part of the detail window's HTML area.
#include "platform/HtmlPage.h"
#include "platform/HtmlResourceFetcher.h"
#include "tests/support/HostilePages.h"
#include "tests/support/LocalMarket.h"

#include "market/Catalogue.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace
{

constexpr int kViewWidth = 776;
constexpr int kViewHeight = 420;
constexpr size_t kDescriptionBytes = 20 * 1024;
constexpr int kPictures = 10;

std::vector<std::string> MarketPictures()
{
    LocalMarket& market = LocalMarket::instance();
    const auto& products = market.server().catalogue().products();
    std::vector<std::string> urls;
    for (int i = 0; i < kPictures; ++i)
        urls.push_back(market.serviceUrl() + "/pic/desc/" + std::to_string(products.at(i / 2).numIid) + "_" +
                       std::to_string(1 + i % 2) + ".jpg");
    return urls;
}

void WaitForPictures(HtmlResourceFetcher& fetcher)
{
    while (fetcher.Pending() > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

// The page as it stands once its pictures have arrived.
struct LoadedPage
{
    HtmlResourceFetcher fetcher;
    HtmlPage page{fetcher, kViewWidth, kViewHeight};
    std::string html = SellerDescription(kDescriptionBytes, MarketPictures());

    LoadedPage()
    {
        page.Load(html);
        WaitForPictures(fetcher);
        page.Relayout();
    }
};

LoadedPage& Loaded()
{
    static LoadedPage loaded;
    return loaded;
}

void BM_ParseAndLayout20KB(benchmark::State& state)
{
    LoadedPage& loaded = Loaded();
    for (auto _ : state) {
        HtmlPage page(loaded.fetcher, kViewWidth, kViewHeight);
        if (!page.Load(loaded.html))
            state.SkipWithError("page not shown");
        benchmark::DoNotOptimize(page.ContentHeight());
    }
    state.counters["bytes"] = static_cast<double>(loaded.html.size());
}

void BM_LayoutAgain20KB(benchmark::State& state)
{
    LoadedPage& loaded = Loaded();
    for (auto _ : state) {
        loaded.page.Relayout();
        benchmark::DoNotOptimize(loaded.page.ContentHeight());
    }
    state.counters["height"] = loaded.page.ContentHeight();
}

void BM_DrawViewport20KB(benchmark::State& state)
{
    LoadedPage& loaded = Loaded();
    int scroll = 0;
    for (auto _ : state) {
        // Scrolls through the page so every kind of content gets drawn.
        loaded.page.ScrollBy(scroll + kViewHeight > loaded.page.ContentHeight() ? -scroll : kViewHeight / 2);
        scroll = loaded.page.ScrollTop();
        benchmark::DoNotOptimize(loaded.page.Draw());
    }
}

}

BENCHMARK(BM_ParseAndLayout20KB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_LayoutAgain20KB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawViewport20KB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
