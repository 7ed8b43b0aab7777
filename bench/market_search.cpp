// Search page answers of the local market on a 50 000-product catalogue,
// over real HTTP as the client sends them: median time per 200-item page.
#include "market/Catalogue.h"
#include "bench/BenchMarket.h"
#include "market/TopSignature.h"

#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/File.h>
#include <Poco/StreamCopier.h>
#include <Poco/TemporaryFile.h>
#include <Poco/URI.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

market::MarketServer& server()
{
    return BenchMarket(false);
}

std::string searchTarget(market::RequestParameters::Pairs params)
{
    params.insert(params.end(), {{"method", "taobao.items.search"}, {"app_key", market::MarketServer::kAppKey},
                                 {"timestamp", "2026-12-01 10:00:00"}, {"v", "1.0"},
                                 {"fields", "num_iid,title,pic_path,price,nick,type,volume"},
                                 {"page_size", "200"}});
    params.emplace_back("sign", market::TopSignature::sign(params, market::MarketServer::kAppSecret, false));
    std::string query;
    for (const auto& pair : params) {
        std::string value;
        Poco::URI::encode(pair.second, "&=+#", value);
        query += (query.empty() ? "?" : "&") + pair.first + "=" + value;
    }
    return "/router/rest" + query;
}

size_t fetch(const std::string& target)
{
    return BenchGet(server().port(), target).size();
}

void runSearch(benchmark::State& state, const market::RequestParameters::Pairs& params)
{
    std::vector<std::string> targets;
    for (int page = 1; page <= 10; ++page) {
        auto paged = params;
        paged.emplace_back("page_no", std::to_string(page));
        targets.push_back(searchTarget(paged));
    }
    std::vector<double> milliseconds;
    size_t i = 0;
    for (auto _ : state) {
        auto started = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(fetch(targets[i++ % targets.size()]));
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
        milliseconds.push_back(took.count());
        state.SetIterationTime(took.count() / 1000);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
}

void BM_SearchAllProductsByVolume(benchmark::State& state)
{
    runSearch(state, {{"order_by", "volume:desc"}});
}

void BM_SearchKeyword(benchmark::State& state)
{
    runSearch(state, {{"q", "手机"}});
}

void BM_SearchKeywordLocationPriceSorted(benchmark::State& state)
{
    runSearch(state, {{"q", "新款"}, {"location.state", "浙江"}, {"start_price", "50"}, {"end_price", "500"},
                      {"order_by", "price:asc"}});
}

void BM_SearchShopProducts(benchmark::State& state)
{
    runSearch(state, {{"nicks", server().catalogue().sellers().front().nick}, {"order_by", "volume:desc"}});
}

// First start of a market: the whole 50 000-product catalogue is generated.
void BM_GenerateCatalogue(benchmark::State& state)
{
    for (auto _ : state) {
        market::MarketOptions options;
        options.dataDir = Poco::TemporaryFile::tempName();
        options.productCount = int(state.range(0));
        market::MarketServer::prepareCatalogue(options);
        state.PauseTiming();
        Poco::File(options.dataDir).remove(true);
        state.ResumeTiming();
    }
}

}

BENCHMARK(BM_GenerateCatalogue)->Arg(50000)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SearchShopProducts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_SearchAllProductsByVolume)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_SearchKeyword)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_SearchKeywordLocationPriceSorted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK_MAIN();
