#include "mainwnd/CQX_GlobalVariable.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsgQueue.h"
#include "render/CWallView.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

int CurrentSearch()
{
    return CQX_GlobalVariable::getInstance().GetSearchID();
}

// A message that records that it ran.
class RecordingMsg : public CRenderMsg
{
public:
    RecordingMsg(int position, int searchId, std::vector<int>* processed)
        : CRenderMsg(position, searchId), m_processed(processed)
    {
    }
    void Process() override { m_processed->push_back(m_position); }

private:
    std::vector<int>* m_processed;
};

class HeavyMsg : public CHeavyCostRenderMsg
{
public:
    HeavyMsg(int position, int searchId) : CHeavyCostRenderMsg(position, searchId) {}
    void Process() override {}
    bool PreRender(std::set<int>&) override { return true; }
};

class RenderQueueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_queue.Clear();
        m_liveBefore = CRenderMsg::LiveCount();
    }
    std::unique_ptr<RecordingMsg> Msg(int position, int searchId)
    {
        return std::make_unique<RecordingMsg>(position, searchId, &m_processed);
    }

    CRenderMsgQueue& m_queue = CRenderMsgQueue::getInstance();
    std::vector<int> m_processed;
    int m_liveBefore = 0;
};

TEST_F(RenderQueueTest, UrgentMessagesComeFirstAndHeadPushesJumpTheQueue)
{
    const int now = CurrentSearch();
    m_queue.PushNormalMsg(Msg(1, now));
    m_queue.PushUrgentMsg(Msg(2, now));
    m_queue.PushUrgentMsgToHead(Msg(3, now));
    m_queue.PushNormalMsg(Msg(4, now));
    while (m_queue.ProcessNextMsg()) {
    }
    EXPECT_EQ(m_processed, (std::vector<int>{3, 2, 1, 4}));
    EXPECT_EQ(CRenderMsg::LiveCount(), m_liveBefore) << "every processed message is deleted";
}

TEST_F(RenderQueueTest, APopDeletesAtMostFiveStaleMessagesSoTheNormalListGetsItsTurn)
{
    const int now = CurrentSearch();
    for (int i = 0; i < 6; ++i)
        m_queue.PushUrgentMsg(Msg(10 + i, now - 1));
    m_queue.PushUrgentMsg(Msg(99, now));
    m_queue.PushNormalMsg(Msg(50, now));

    EXPECT_EQ(m_queue.PopUrgentMsg(), nullptr);
    EXPECT_EQ(m_queue.Size(), 3u) << "five stale messages were deleted, the sixth waits";
    EXPECT_EQ(CRenderMsg::LiveCount(), m_liveBefore + 3);

    ASSERT_TRUE(m_queue.ProcessNextMsg());
    EXPECT_EQ(m_processed, std::vector<int>{99});
    ASSERT_TRUE(m_queue.ProcessNextMsg());
    EXPECT_EQ(m_processed, (std::vector<int>{99, 50}));
    EXPECT_FALSE(m_queue.ProcessNextMsg());
    EXPECT_EQ(CRenderMsg::LiveCount(), m_liveBefore);
}

TEST_F(RenderQueueTest, StaleNormalMessagesAreDroppedAndClearDeletesEverything)
{
    const int now = CurrentSearch();
    m_queue.PushNormalMsg(Msg(1, now + 1));
    m_queue.PushNormalMsg(Msg(2, now));
    ASSERT_TRUE(m_queue.ProcessNextMsg());
    EXPECT_EQ(m_processed, std::vector<int>{2});

    m_queue.PushNormalMsg(Msg(3, now));
    m_queue.PushUrgentMsg(Msg(4, now));
    m_queue.Clear();
    EXPECT_EQ(m_queue.Size(), 0u);
    EXPECT_FALSE(m_queue.ProcessNextMsg());
    EXPECT_EQ(CRenderMsg::LiveCount(), m_liveBefore);
}

class HeavyQueueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Earlier tests may have left semaphore counts behind.
        m_queue.Clear();
        m_liveBefore = CRenderMsg::LiveCount();
    }
    void TearDown() override { CWallView::getInstance().Publish(0, 8, 0); }

    void Push(std::initializer_list<int> positions, int searchId)
    {
        for (int position : positions)
            m_queue.PushToTail(std::make_unique<HeavyMsg>(position, searchId));
    }
    std::vector<int> PopAll()
    {
        std::vector<int> order;
        while (m_queue.Size() != 0) {
            if (auto msg = m_queue.Pop())
                order.push_back(msg->GetPosition());
        }
        return order;
    }

    CHeavyCostRenderMsgQueue& m_queue = CHeavyCostRenderMsgQueue::getInstance();
    int m_liveBefore = 0;
};

TEST_F(HeavyQueueTest, CardsOnScreenComeFirstThenTheNearestToTheCentre)
{
    // Two rows of four columns from position 8: positions 8 to 16 are on screen, centre 12.
    CWallView::getInstance().Publish(8, 2 * 4, 0);
    Push({30, 20, 4, 12}, CurrentSearch());
    EXPECT_EQ(PopAll(), (std::vector<int>{12, 20, 4, 30}));
}

TEST_F(HeavyQueueTest, OnScreenCardsKeepTheirOrderAndBothEndsOfTheScreenCount)
{
    CWallView::getInstance().Publish(8, 8, 0);
    Push({40, 16, 3, 8, 11}, CurrentSearch());
    EXPECT_EQ(PopAll(), (std::vector<int>{16, 8, 11, 3, 40}));
}

TEST_F(HeavyQueueTest, StaleMessagesAreDeletedOnTheWayAndAnAllStaleQueueGivesNothing)
{
    const int now = CurrentSearch();
    CWallView::getInstance().Publish(0, 8, 0);
    Push({50, 2, 40}, now - 1);
    EXPECT_EQ(m_queue.Pop(), nullptr);
    EXPECT_EQ(m_queue.Size(), 0u);
    EXPECT_EQ(CRenderMsg::LiveCount(), m_liveBefore);

    Push({3}, now - 1);
    Push({60}, now);
    Push({5}, now - 1);
    auto msg = m_queue.Pop();
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(msg->GetPosition(), 60);
    EXPECT_EQ(m_queue.Size(), 0u);
}

TEST_F(HeavyQueueTest, AClearedQueueStillCountsItsPushesSoPopReturnsWithoutBlocking)
{
    Push({1, 2, 3}, CurrentSearch());
    m_queue.Clear();
    EXPECT_EQ(CRenderMsg::LiveCount(), m_liveBefore);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m_queue.Pop(), nullptr);
    m_queue.Wake();
    EXPECT_EQ(m_queue.Pop(), nullptr);
}

TEST_F(HeavyQueueTest, AmongEquallyNearCardsTheOneNearerTheFrontWins)
{
    CWallView::getInstance().Publish(100, 8, 0);
    Push({118, 90}, CurrentSearch());
    EXPECT_EQ(PopAll(), (std::vector<int>{118, 90}));

    Push({118}, CurrentSearch());
    m_queue.PushToHead(std::make_unique<HeavyMsg>(90, CurrentSearch()));
    EXPECT_EQ(PopAll(), (std::vector<int>{90, 118}));
}

}
