// From a new search to the last card of the first screen on the wall, in
// process against the local market (pictures on loopback), with the user
// idle so the render worker never waits; and the render thread's longest
// idle call while the cards stream in.
#include "tests/download/PipelineHarness.h"
#include "tests/support/LocalMarket.h"

#include "market/Catalogue.h"
#include "scene/CProductWall.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> Keywords()
{
    std::vector<std::string> words;
    for (const market::Product& product : LocalMarket::instance().server().catalogue().products()) {
        const std::string word = product.title.substr(0, product.title.find(' '));
        if (std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
    }
    return words;
}

std::vector<int> Positions(int count)
{
    std::vector<int> positions(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        positions[size_t(i)] = i;
    return positions;
}

struct FillResult
{
    double seconds = 0;
    double longestIdleMs = 0;
};

// One search, the render thread's idle calls timed one by one.
FillResult Fill(PipelineHarness& pipeline, const std::string& keyword, int screen)
{
    FillResult result;
    const auto start = Clock::now();
    pipeline.Search(keyword, Positions(screen * 3));
    const CTaobaoConnectInfoMap& pages = CTaobaoDataStore::getInstance().connectInfo;
    // A keyword with fewer results than a screen fills what it has.
    auto cards = [&] { return pages.getTotal() > 0 ? std::min(screen, pages.getTotal()) : screen; };
    while (!pipeline.WallShows(0, cards())) {
        const auto before = Clock::now();
        const bool processed = pipeline.ProcessOneMessage();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
        if (processed)
            result.longestIdleMs = std::max(result.longestIdleMs, ms);
        else
            std::this_thread::yield();
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

void BM_SearchToFirstScreen(benchmark::State& state)
{
    const bool big = state.range(0) != 0;
    CProductWall::getInstance().SetBigPictures(big);
    const int screen = CProductWall::getInstance().Layout().ScreenCount();
    const std::vector<std::string> keywords = Keywords();
    PipelineHarness pipeline;
    for (const std::string& keyword : keywords)
        Fill(pipeline, keyword, screen);  // the market draws each picture once

    size_t next = 0;
    double longestIdle = 0;
    std::vector<double> times;
    for (auto _ : state) {
        const FillResult result = Fill(pipeline, keywords[next++ % keywords.size()], screen);
        state.SetIterationTime(result.seconds);
        times.push_back(result.seconds * 1000);
        longestIdle = std::max(longestIdle, result.longestIdleMs);
    }
    std::sort(times.begin(), times.end());
    state.counters["cards"] = screen;
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p90_ms"] = times[times.size() * 9 / 10];
    state.counters["longest_idle_ms"] = longestIdle;
    pipeline.Stop();
    CProductWall::getInstance().SetBigPictures(true);
}

}

BENCHMARK(BM_SearchToFirstScreen)->Arg(1)->Arg(0)->ArgName("big")->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
