#include "mainwnd/CQX_GlobalVariable.h"
#include "render/CHeavyCostMsg_ProductCleanedInRenderThread.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsgQueue.h"
#include "render/CRenderWorker.h"
#include "render/CWallView.h"
#include "platform/ThreadFaults.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <new>
#include <thread>

namespace {

// A heavy message that prepares its position like a card would.
class CardMsg : public CHeavyCostRenderMsg
{
public:
    CardMsg(int position, int searchId) : CHeavyCostRenderMsg(position, searchId) {}
    void Process() override {}
    bool PreRender(std::set<int>& preRendered) override { return preRendered.insert(m_position).second; }
};

// A heavy message whose preparation fails the way a full disk or a failed
// allocation would.
class FailingMsg : public CHeavyCostRenderMsg
{
public:
    FailingMsg(int position, int searchId) : CHeavyCostRenderMsg(position, searchId) {}
    void Process() override {}
    bool PreRender(std::set<int>&) override { throw std::bad_alloc(); }
};

// A clock the test moves: each sleep advances it and may change the world.
class FakeTime
{
public:
    uint32_t Now() const { return m_now; }
    void Sleep(uint32_t ms)
    {
        m_now += ms;
        ++m_sleeps;
        if (m_onSleep)
            m_onSleep(m_sleeps);
    }

    uint32_t m_now = 1000000;
    int m_sleeps = 0;
    std::function<void(int)> m_onSleep;
};

class RenderWorkerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CHeavyCostRenderMsgQueue::getInstance().Clear();
        CRenderMsgQueue::getInstance().Clear();
        CWallView::getInstance().Publish(0, 8, 0);
        Global().SetBusyUntil(0);
    }
    void TearDown() override
    {
        CWallView::getInstance().Publish(0, 8, 0);
        Global().SetBusyUntil(0);
        CRenderMsgQueue::getInstance().Clear();
    }
    static CQX_GlobalVariable& Global() { return CQX_GlobalVariable::getInstance(); }
    static void SetSpeed(double speed) { CWallView::getInstance().Publish(0, 8, speed); }

    static void PushCard(int position, int searchId)
    {
        CHeavyCostRenderMsgQueue::getInstance().PushToTail(std::make_unique<CardMsg>(position, searchId));
    }

    FakeTime m_time;
    CRenderWorker m_worker{[this] { return m_time.Now(); }, [this](uint32_t ms) { m_time.Sleep(ms); }};
};

TEST_F(RenderWorkerTest, AnIdleUserAndAWallAtRestLetTheWorkerGoAtOnce)
{
    Global().SetBusyUntil(m_time.m_now);
    m_worker.WaitUntilReady();
    EXPECT_EQ(m_time.m_sleeps, 0);

    SetSpeed(0.0299);
    m_worker.WaitUntilReady();
    SetSpeed(-0.0299);
    m_worker.WaitUntilReady();
    EXPECT_EQ(m_time.m_sleeps, 0);
}

TEST_F(RenderWorkerTest, RecentInputHoldsTheWorkerUntilItsTickOrForAtMostFivePolls)
{
    Global().SetBusyUntil(m_time.m_now + CRenderWorker::kReadinessPollMs * 5 / 2);
    m_worker.WaitUntilReady();
    EXPECT_EQ(m_time.m_sleeps, 3) << "ready at the first poll on or after the busy-until tick";

    m_time.m_sleeps = 0;
    Global().SetBusyUntil(m_time.m_now + 60000);
    m_worker.WaitUntilReady();
    EXPECT_EQ(m_time.m_sleeps, CRenderWorker::kInputPolls) << "constant input cannot starve the worker";
}

TEST_F(RenderWorkerTest, AMovingWallHoldsTheWorkerForAsLongAsItMoves)
{
    for (double speed : {CRenderWorker::kRestingSpeed, -CRenderWorker::kRestingSpeed, 12.0}) {
        SetSpeed(speed);
        m_time.m_sleeps = 0;
        m_time.m_onSleep = [](int sleeps) {
            if (sleeps == 40)
                SetSpeed(0.001);
        };
        m_worker.WaitUntilReady();
        EXPECT_EQ(m_time.m_sleeps, 40) << speed;
    }
}

TEST_F(RenderWorkerTest, InputTimeIsComparedAcrossTheTickWrap)
{
    m_time.m_now = 0xFFFFFF00u;
    Global().SetBusyUntil(m_time.m_now + CRenderWorker::kReadinessPollMs * 3);  // wraps past zero
    m_worker.WaitUntilReady();
    EXPECT_EQ(m_time.m_sleeps, 3);
}

TEST_F(RenderWorkerTest, PreparedCardsGoToTheRenderThreadAndAreNotPreparedTwiceInOneSearch)
{
    const int search = Global().GetSearchID();
    PushCard(3, search);
    PushCard(3, search);
    PushCard(4, search);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(m_worker.PreRenderNext());
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 2u);
    EXPECT_EQ(m_worker.PreRendered(), (std::set<int>{3, 4}));
}

TEST_F(RenderWorkerTest, ANewerSearchEmptiesThePreparedSetAndTheSameOneKeepsIt)
{
    const int live = CRenderMsg::LiveCount();
    Global().SearchIDChange();
    const int search = Global().GetSearchID();
    PushCard(7, search);
    ASSERT_TRUE(m_worker.PreRenderNext());
    EXPECT_EQ(m_worker.PreRendered(), std::set<int>{7});

    // More work of the same search keeps what was prepared.
    CHeavyCostRenderMsgQueue::getInstance().PushToTail(
        std::make_unique<CHeavyCostMsg_ProductCleanedInRenderThread>(search, std::vector<int>{}));
    ASSERT_TRUE(m_worker.PreRenderNext());
    EXPECT_EQ(m_worker.PreRendered(), std::set<int>{7});

    Global().SearchIDChange();
    PushCard(8, Global().GetSearchID());
    ASSERT_TRUE(m_worker.PreRenderNext());
    EXPECT_EQ(m_worker.PreRendered(), std::set<int>{8});

    CRenderMsgQueue::getInstance().Clear();
    EXPECT_EQ(CRenderMsg::LiveCount(), live) << "a dropped message is deleted";
}

TEST_F(RenderWorkerTest, TheCleanUpMessageLetsDroppedCardsBePreparedAgain)
{
    const int search = Global().GetSearchID();
    for (int position : {1, 2, 3})
        PushCard(position, search);
    for (int i = 0; i < 3; ++i)
        m_worker.PreRenderNext();
    CHeavyCostRenderMsgQueue::getInstance().PushToHead(
        std::make_unique<CHeavyCostMsg_ProductCleanedInRenderThread>(search, std::vector<int>{1, 3}));
    ASSERT_TRUE(m_worker.PreRenderNext());
    EXPECT_EQ(m_worker.PreRendered(), std::set<int>{2});
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 3u) << "the clean-up itself never reaches the render thread";
}

TEST_F(RenderWorkerTest, CardsDroppedFarAwayAreReadyAgainWhenTheUserScrollsBackBeforeTheWorkerRan)
{
    const int search = Global().GetSearchID();
    PushCard(3, search);
    ASSERT_TRUE(m_worker.PreRenderNext());
    // The user scrolled away (the wall dropped card 3) and back while the
    // worker waited for the wall to rest: the card is asked for again.
    CHeavyCostRenderMsgQueue::getInstance().PushToHead(
        std::make_unique<CHeavyCostMsg_ProductCleanedInRenderThread>(search, std::vector<int>{3}));
    PushCard(3, search);
    // On screen now: positions 1 to 9, so the clean-up's own position 0 is not.
    CWallView::getInstance().Publish(1, 8, 0);
    ASSERT_TRUE(m_worker.PreRenderNext());
    ASSERT_TRUE(m_worker.PreRenderNext());
    EXPECT_EQ(m_worker.PreRendered(), std::set<int>{3});
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 2u) << "card 3 was prepared again";
}

TEST_F(RenderWorkerTest, TheThreadPreparesQueuedCardsAndStopsWhenAsked)
{
    CRenderWorker worker;
    worker.Start();
    EXPECT_TRUE(worker.IsRunning());
    const int search = Global().GetSearchID();
    for (int position = 0; position < 20; ++position)
        PushCard(position, search);
    for (int i = 0; i < 2000 && CRenderMsgQueue::getInstance().Size() < 20; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 20u);

    worker.Stop();
    EXPECT_FALSE(worker.IsRunning());
    worker.Stop();
}

TEST_F(RenderWorkerTest, AFailedPreparationIsRecordedAndTheThreadGoesOn)
{
    const size_t faults = ThreadFaults::Count();
    CRenderWorker worker;
    worker.Start();
    const int search = Global().GetSearchID();
    CHeavyCostRenderMsgQueue::getInstance().PushToTail(std::make_unique<FailingMsg>(1, search));
    PushCard(2, search);
    for (int i = 0; i < 2000 && CRenderMsgQueue::getInstance().Size() < 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 1u) << "the card after the failed one was not prepared";
    EXPECT_EQ(ThreadFaults::Count(), faults + 1);
    EXPECT_NE(ThreadFaults::Last().find("render worker"), std::string::npos);
    worker.Stop();
    EXPECT_FALSE(worker.IsRunning());
}

TEST_F(RenderWorkerTest, AWorkerWaitingForTheWallToRestStillStops)
{
    SetSpeed(5);
    CRenderWorker worker;
    worker.Start();
    PushCard(1, Global().GetSearchID());
    worker.Stop();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 0u) << "nothing was prepared while the wall moved";
}

}
