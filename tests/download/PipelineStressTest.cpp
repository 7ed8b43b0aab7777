// Fifty new searches in quick succession while pictures stream in: only the
// last search's cards reach the wall, no message is lost on the way, and
// every thread of the pipeline stops. Fast paging through a large search
// never builds a backlog.
#include "tests/download/PipelineHarness.h"
#include "tests/support/LocalMarket.h"

#include "market/Catalogue.h"
#include "mainwnd/CQX_WaitingDisplayList.h"
#include "render/CCardClaims.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsg.h"
#include "render/CRenderMsgQueue.h"
#include "scene/CProductWall.h"
#include "taobao/CTaobaoDataStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const int kSearches = 50;
const int kScreen = 16;

// Brand words of the catalogue's titles: searches with results of their own.
std::vector<std::string> Keywords()
{
    std::set<std::string> seen;
    std::vector<std::string> words;
    for (const market::Product& product : LocalMarket::instance().server().catalogue().products()) {
        const std::string word = product.title.substr(0, product.title.find(' '));
        if (seen.insert(word).second)
            words.push_back(word);
    }
    return words;
}

// The card at each position shows the picture the current search fetched for its product.
void ExpectOnlyCurrentCards(int count)
{
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    for (int position = 0; position < count; ++position) {
        CTaobaoProductInfo product;
        ASSERT_TRUE(store.products.copyProduct(position, product)) << position;
        std::string picture;
        ASSERT_TRUE(store.pictures.copy(product.pic_url, picture)) << position;
        EXPECT_EQ(CProductWall::getInstance().GetCardPicturePath(position), picture) << "stale card at " << position;
    }
}

TEST(PipelineStressTest, RapidNewSearchesLeaveOnlyTheLastSearchsCards)
{
    LocalMarket::instance().reset();
    const std::vector<std::string> keywords = Keywords();
    ASSERT_GE(keywords.size(), 5u);
    std::vector<int> screen(kScreen);
    for (int i = 0; i < kScreen; ++i)
        screen[size_t(i)] = i;
    const int liveBefore = CRenderMsg::LiveCount();
    {
        PipelineHarness pipeline;
        for (int search = 0; search < kSearches; ++search) {
            pipeline.Search(keywords[size_t(search) % keywords.size()], screen);
            // A few idle calls' worth of cards arrive before the user searches again.
            pipeline.ProcessUntil([] { return false; }, std::chrono::milliseconds(search % 7 * 3));
        }
        CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
        ASSERT_TRUE(pipeline.ProcessUntil([&] { return store.connectInfo.getTotal() > 0; }));
        const int expected = std::min(kScreen, store.connectInfo.getTotal());
        ASSERT_TRUE(pipeline.ProcessUntil([&] { return pipeline.WallShows(0, expected); }));
        // Whatever older work was still in flight has time to arrive, and must be dropped.
        pipeline.ProcessUntil([] { return false; }, std::chrono::milliseconds(500));
        ExpectOnlyCurrentCards(expected);
        EXPECT_LE(CProductWall::getInstance().SlotCount(), size_t(kScreen));

        EXPECT_TRUE(pipeline.Stop()) << "a pipeline thread is still running";
    }
    EXPECT_EQ(CRenderMsg::LiveCount(), liveBefore) << "a render message was never deleted";
}

// Positions the wall keeps around a screen of 8: the queues never hold more
// cards than one placeholder and one card message for each.
const int kKeptPositions = 8 + 2 * CWallView::kKeptMargin + 1;

// What the render thread does each frame while the user pages down: every
// position without a card is asked for again (the wall cannot see what is on
// its way), the queues lose what the wall moved away from, one message is
// processed.
struct PagingFrame {
    PipelineHarness& pipeline;
    size_t peakRender = 0;
    size_t peakHeavy = 0;

    void Run(int first, double velocity)
    {
        pipeline.ViewFrom(first, velocity);
        CRenderMsgQueue::getInstance().DropUnplaceable();
        CHeavyCostRenderMsgQueue::getInstance().DropUnplaceable();
        const CProductWall& wall = CProductWall::getInstance();
        pipeline.Downloader().downloadProducts(CQX_WaitingDisplayList::Build(
            first, first + 8, 2, 4, 3000, [&wall](int index) { return wall.HasCard(index); }));
        pipeline.ProcessOneMessage();
        peakRender = std::max(peakRender, CRenderMsgQueue::getInstance().Size());
        peakHeavy = std::max(peakHeavy, CHeavyCostRenderMsgQueue::getInstance().Size());
    }
};

TEST(PipelineStressTest, FastPagingKeepsTheQueuesWithinTheKeptRangeAndTheScreenInViewCompletes)
{
    LocalMarket::instance().reset();
    const int liveBefore = CRenderMsg::LiveCount();
    {
        PipelineHarness pipeline;
        pipeline.Search("", {});
        PagingFrame frame{pipeline};
        // 80 Page Down presses, one every five frames, the wall moving all along.
        int first = 0;
        for (int press = 0; press < 80; ++press, first += 8) {
            for (int step = 0; step < 5; ++step) {
                frame.Run(first + step * 8 / 5, 1.0);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        EXPECT_LE(frame.peakHeavy, size_t(kKeptPositions));
        EXPECT_LE(frame.peakRender, size_t(2 * kKeptPositions));
        EXPECT_LE(CCardClaims::getInstance().Count(), size_t(kKeptPositions));

        // Stopped: the screen in view completes without a backlog ahead of it.
        frame.Run(first, 0);
        ASSERT_TRUE(pipeline.ProcessUntil([&] { return pipeline.WallShows(first, 8); }, std::chrono::seconds(10)));
        EXPECT_TRUE(pipeline.Stop());
    }
    EXPECT_EQ(CRenderMsg::LiveCount(), liveBefore) << "a render message was never deleted";
    EXPECT_EQ(CCardClaims::getInstance().Count(), 0u) << "a claim outlived its work";
}

}
