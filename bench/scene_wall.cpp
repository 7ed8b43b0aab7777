// The wall at 1280 x 800 on the software renderer: the time of one full
// frame (backdrop and every card of the drawn range, until the GPU is done)
// in the big layout (24 cards drawn) and the small one (54), and the memory
// held after scrolling through 20000 positions against the first screen.
#include "platform/RenderDevice.h"
#include "scene/CCardPainter.h"
#include "scene/CProductWall.h"
#include "tests/support/MarketCards.h"
#include "tests/support/SceneWindow.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <unistd.h>

namespace {

constexpr uint32_t kFrameMs = 20;

const std::vector<MarketCard>& Cards()
{
    static const std::vector<MarketCard> cards = MarketCards::Fetch(60);
    return cards;
}

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024 * 1024);
}

// One frame as the frame loop draws it, waiting until the GPU has finished.
void DrawFrame(CProductWall& wall, uint32_t now)
{
    SceneWindow& window = SceneWindow::Instance();
    RenderDevice& device = window.Device();
    window.BeginFrame();
    wall.Render(now);
    device.EndScene();
    device.IssueQueryEnd();
    while (!device.IsQuerySignalled()) {
    }
}

void BM_WallFrame(benchmark::State& state)
{
    const bool big = state.range(0) != 0;
    SceneWindow& window = SceneWindow::Instance();
    window.Device().CreateEventQuery();
    CProductWall wall;
    wall.InitDevice(window.Device());
    wall.SetBigPictures(big);
    const int screen = wall.Layout().ScreenCount();
    // Resting with the first visible card at R: the drawn range [0, 3R) is full.
    for (int i = 0; i < 3 * screen; ++i)
        MarketCards::AddToWall(wall, i, Cards()[i % Cards().size()], window.Device());
    wall.SetScrollLimit(10000);
    wall.ScrollToIndex(screen);
    uint32_t now = wall.Motion().lastUpdateTick;
    DrawFrame(wall, now);
    for (auto _ : state)
        DrawFrame(wall, now += kFrameMs);
    state.counters["cards"] = 3 * screen;
}

// A card as the pipeline delivers it, made from prepared pixels so that the
// walk through 20000 positions is quick: same sizes as real cards.
class CardFactory
{
public:
    explicit CardFactory(RenderDevice& device) : m_device(device)
    {
        for (const MarketCard& card : Cards()) {
            PixelImage text = CCardPainter::ComposeProductCard(card.price, card.saleType, 0, card.title).Image();
            text.ApplyColorKey(0xFF000000);
            m_texts.push_back(std::move(text));
            m_pictures.push_back(PixelImage::LoadFile(card.picturePath));
        }
    }

    void Add(CProductWall& wall, int index)
    {
        const size_t i = static_cast<size_t>(index) % m_texts.size();
        wall.AddProductCard(index, "", "", m_device.CreateTexture(m_pictures[i], true),
                            m_device.CreateTexture(m_texts[i], true));
    }

private:
    RenderDevice& m_device;
    std::vector<PixelImage> m_texts;
    std::vector<PixelImage> m_pictures;
};

void BM_WallMemoryAfterScrolling(benchmark::State& state)
{
    constexpr int kPositions = 20000;
    SceneWindow& window = SceneWindow::Instance();
    window.Device().CreateEventQuery();
    CardFactory factory(window.Device());
    for (auto _ : state) {
        CProductWall wall;
        wall.InitDevice(window.Device());
        wall.SetScrollLimit(kPositions);
        const CWallLayout& layout = wall.Layout();
        const int screen = layout.ScreenCount();
        uint32_t now = wall.Motion().lastUpdateTick;
        // The first screen: what the drawn range holds at position 0.
        for (int i = 0; i < 2 * screen; ++i)
            factory.Add(wall, i);
        DrawFrame(wall, now);
        const double first = ResidentMegabytes();
        size_t mostSlots = 0;
        // Half a column per frame; the pipeline fills what the wall asks for
        // (the screen and one ahead), the frame end drops far cards on five
        // frames out of six, and every 25th frame is drawn.
        for (int frame = 1; wall.GetFirstVisibleIndex() + screen < kPositions; ++frame) {
            wall.Motion().scrollPosition += layout.Pitch() / 2.0;
            const int f = wall.GetFirstVisibleIndex();
            for (int i = f; i < f + 2 * screen && i < kPositions; ++i)
                if (!wall.HasCard(i))
                    factory.Add(wall, i);
            if (frame % 6 != 0)
                wall.CollectFarCards();
            if (frame % 25 == 0)
                DrawFrame(wall, now += kFrameMs);
            mostSlots = std::max(mostSlots, wall.SlotCount());
        }
        DrawFrame(wall, now += kFrameMs);
        const double after = ResidentMegabytes();
        state.counters["first_screen_MB"] = first;
        state.counters["after_20000_MB"] = after;
        state.counters["ratio"] = after / first;
        state.counters["most_slots"] = static_cast<double>(mostSlots);
    }
}

}

// The machine is shared: the fastest of the repetitions is reported too.
BENCHMARK(BM_WallFrame)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WallMemoryAfterScrolling)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();
