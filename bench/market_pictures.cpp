// Small card pictures ("_b.jpg") served by the local market to two clients
// at once, each picture on a new connection as the client's downloader does:
// first requests (drawn and cached) and repeated ones (from the cache).
#include "market/Catalogue.h"
#include "bench/BenchMarket.h"

#include <Poco/File.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/StreamCopier.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>

namespace {

market::MarketServer& server()
{
    return BenchMarket(true);
}

size_t fetchSmallPicture(size_t index)
{
    const auto& products = server().catalogue().products();
    std::string target = "/pic/item/" + std::to_string(products[index % products.size()].numIid) + ".jpg_b.jpg";
    const std::string body = BenchGet(server().port(), target);
    if (body.size() <= 1024)
        throw std::runtime_error("picture too short: " + target);
    return body.size();
}

std::atomic<size_t> nextFresh{0};

void BM_FirstRequestedPictures(benchmark::State& state)
{
    server();
    for (auto _ : state)
        benchmark::DoNotOptimize(fetchSmallPicture(nextFresh++));
    state.SetItemsProcessed(state.iterations());
}

void BM_CachedPictures(benchmark::State& state)
{
    server();
    size_t i = size_t(state.thread_index()) * 1000;
    for (auto _ : state)
        benchmark::DoNotOptimize(fetchSmallPicture(i++ % 2000));
    state.SetItemsProcessed(state.iterations());
}

}

BENCHMARK(BM_FirstRequestedPictures)->Threads(2)->Iterations(1000)->UseRealTime();
BENCHMARK(BM_CachedPictures)->Threads(2)->Iterations(3000)->UseRealTime();
BENCHMARK_MAIN();
