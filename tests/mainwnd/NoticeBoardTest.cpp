#include "mainwnd/CQX_NoticeBoard.h"

#include <gtest/gtest.h>

TEST(NoticeBoard, ResultsPresentHoldsAgainstLaterEmptyNotices)
{
    CQX_NoticeBoard board;
    board.SetState(CQX_NoticeBoard::InputRefused, 1234);
    EXPECT_EQ(board.GetExpiry(), 1234u);
    board.SetStateUnless(CQX_NoticeBoard::NoSearchResult, CQX_NoticeBoard::ResultsPresent);
    EXPECT_EQ(board.GetState(), CQX_NoticeBoard::NoSearchResult);
    EXPECT_EQ(board.GetExpiry(), 0u);
    board.SetState(CQX_NoticeBoard::ResultsPresent);
    for (int state : {CQX_NoticeBoard::NoSearchResult, CQX_NoticeBoard::NothingViewedToday,
                      CQX_NoticeBoard::NoFavoriteProducts, CQX_NoticeBoard::NetworkFailure})
        board.SetStateUnless(state, CQX_NoticeBoard::ResultsPresent);
    EXPECT_EQ(board.GetState(), CQX_NoticeBoard::ResultsPresent);
    board.SetState(CQX_NoticeBoard::None);
    board.SetStateUnless(CQX_NoticeBoard::NothingViewedToday, CQX_NoticeBoard::ResultsPresent);
    EXPECT_EQ(board.GetState(), CQX_NoticeBoard::NothingViewedToday);
}
