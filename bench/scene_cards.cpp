// Card composition as the render worker does it for one product: the text
// card on the canvas, the picture decoded, both made into textures; and the
// upload of those textures when the render thread first draws them.
#include "platform/RenderDevice.h"
#include "scene/CCardPainter.h"
#include "tests/support/MarketCards.h"
#include "tests/support/SceneWindow.h"

#include <benchmark/benchmark.h>

namespace {

const std::vector<MarketCard>& Cards()
{
    static const std::vector<MarketCard> cards = MarketCards::Fetch(40);
    return cards;
}

void BM_ComposeCardText(benchmark::State& state)
{
    const auto& cards = Cards();
    size_t i = 0;
    for (auto _ : state) {
        const MarketCard& card = cards[i++ % cards.size()];
        benchmark::DoNotOptimize(CCardPainter::ComposeProductCard(card.price, card.saleType, 0, card.title));
    }
}

// One product card on the worker: text card and picture, as textures.
void BM_ProductCardOnWorker(benchmark::State& state)
{
    RenderDevice& device = SceneWindow::Instance().Device();
    const auto& cards = Cards();
    size_t i = 0;
    for (auto _ : state) {
        const MarketCard& card = cards[i++ % cards.size()];
        TexturePtr text = CCardPainter::DrawProductCard(card.price, card.saleType, 0, card.title, device);
        TexturePtr picture = CCardPainter::LoadPictureTexture(card.picturePath, device);
        benchmark::DoNotOptimize(text.get());
        benchmark::DoNotOptimize(picture.get());
    }
}

// The render thread's share: uploading both textures with their mip chains.
void BM_ProductCardUpload(benchmark::State& state)
{
    RenderDevice& device = SceneWindow::Instance().Device();
    const auto& cards = Cards();
    size_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const MarketCard& card = cards[i++ % cards.size()];
        TexturePtr text = CCardPainter::DrawProductCard(card.price, card.saleType, 0, card.title, device);
        TexturePtr picture = CCardPainter::LoadPictureTexture(card.picturePath, device);
        state.ResumeTiming();
        benchmark::DoNotOptimize(text->Id());
        benchmark::DoNotOptimize(picture->Id());
        state.PauseTiming();
        text.reset();
        picture.reset();
        state.ResumeTiming();
    }
}

}

BENCHMARK(BM_ComposeCardText)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ProductCardOnWorker)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ProductCardUpload)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
