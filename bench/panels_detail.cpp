// From the click on a card to the detail window complete: the details,
// seller and affiliate answers from the local marketplace through the
// details thread and the render queue, and the product page laid out and
// drawn with its pictures (on loopback). The GUI runs headless.
#include "mainwnd/CQX_GlobalVariable.h"
#include "panels/CDetailWindow.h"
#include "render/CRenderMsgQueue.h"
#include "taobao/CTaobaoConnector.h"
#include "taobao/CTaobaoDataStore.h"
#include "tests/support/HeadlessGui.h"
#include "tests/support/LocalMarket.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace
{

constexpr int kTimeoutMs = 20000;

bool SellerShown(CDetailWindow& window)
{
    return window.GetWidget(CDetailWindow::FavoriteToggle)->isVisible() &&
           window.GetWidget(CDetailWindow::SellerText)->getText().length() > 3;
}

// Processes render messages as the frame loop does until the seller's
// answer has filled the window.
bool ProcessUntilSellerShown(CDetailWindow& window)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    while (!SellerShown(window) && std::chrono::steady_clock::now() < deadline)
        CRenderMsgQueue::getInstance().ProcessNextMsg();
    return SellerShown(window);
}

void BM_ClickToCompleteDetailWindow(benchmark::State& state)
{
    LocalMarket::instance();
    HeadlessGui::LoadMainLayout();
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    store.resetBrowseData(0);
    store.setSearch(CTaobaoSearchParams());
    CQX_GlobalVariable::getInstance().SetCurrentModeId(0);
    if (!CTaobaoConnector::fetchProductInfo(0, CQX_GlobalVariable::getInstance().GetSearchID())) {
        state.SkipWithError("no products");
        return;
    }
    CDetailWindow::CreateDetailWindow("Detail Information");
    CDetailWindow& window = *CDetailWindow::getInstance();
    int position = 0;
    for (auto _ : state) {
        // Every click is a product not seen before, so no picture is cached.
        window.OpenProduct(position++ % 200);
        if (!ProcessUntilSellerShown(window) || !window.GetBrowserHost().WaitForPage(kTimeoutMs))
            state.SkipWithError("detail window not completed");
        state.PauseTiming();
        window.Close();
        state.ResumeTiming();
    }
    CDetailWindow::Destroy();
}

}

BENCHMARK(BM_ClickToCompleteDetailWindow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
