// One whole search page round trip against the local marketplace: signing,
// the HTTP request, the 200-item answer, parsing and storing the records.
#include "mainwnd/CQX_GlobalVariable.h"
#include "taobao/CTaobaoConnector.h"
#include "taobao/CTaobaoDataStore.h"
#include "tests/support/LocalMarket.h"

#include <benchmark/benchmark.h>

namespace
{

void BM_FetchSearchPage(benchmark::State& state)
{
    LocalMarket::instance();
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    store.setBrowseSource(CTaobaoDataStore::ItemsSearch);
    CQX_GlobalVariable& global = CQX_GlobalVariable::getInstance();
    int page = 0;
    for (auto _ : state) {
        state.PauseTiming();
        store.resetBrowseData(1);
        const int index = (page++ % 10) * 200;
        state.ResumeTiming();
        if (!CTaobaoConnector::fetchProductInfo(index, global.GetSearchID()) || store.products.size() != 200)
            state.SkipWithError("page not fetched");
    }
}

}

BENCHMARK(BM_FetchSearchPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
