// Notice pictures drawn 1:1 at the centre of the window, checked against
// the picture files' own pixels.
#include "tests/support/SceneWindow.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_NoticeBoard.h"
#include "platform/RenderDevice.h"
#include "platform/Ticks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr uint32_t kNow = 500000;

bool Near(uint32_t a, uint32_t b)
{
    return std::abs(RedOf(a) - RedOf(b)) <= 8 && std::abs(GreenOf(a) - GreenOf(b)) <= 8 &&
           std::abs(BlueOf(a) - BlueOf(b)) <= 8;
}

// Black, give or take the JPEG's noise: transparent.
bool IsKeyedBlack(uint32_t p)
{
    return std::max({RedOf(p), GreenOf(p), BlueOf(p)}) <= 16;
}

class NoticeBoardDrawing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = &SceneWindow::Instance();
        m_board.LoadPictures(m_window->Device());
    }

    PixelImage Draw(bool over, uint32_t now = kNow, uint32_t background = 0xFF000000)
    {
        m_window->BeginFrame(background);
        if (over)
            m_board.DrawOver(now);
        else
            m_board.DrawUnder(now);
        return m_window->ReadPixels();
    }

    // Screen pixels around the centre match the picture's rows from firstRow,
    // 1:1, with the quad's centre raised by offset.
    void ExpectPicture(const PixelImage& screen, const char* file, int firstRow, int rows, int offset = 0)
    {
        const PixelImage picture = PixelImage::LoadFile(file);
        ASSERT_FALSE(picture.IsEmpty());
        const int left = m_window->Width() / 2 - 256;
        const int top = m_window->Height() / 2 - rows / 2 - offset;
        int matching = 0, compared = 0;
        for (int y = 4; y < rows - 4; y += 7)
            for (int x = 4; x < 508; x += 11) {
                const uint32_t expected = picture.Pixel(x, firstRow + y);
                if (IsKeyedBlack(expected))
                    continue;
                ++compared;
                matching += Near(screen.Pixel(left + x, top + y), expected);
            }
        EXPECT_GT(compared, 100);
        EXPECT_GT(matching, compared * 95 / 100) << file << " rows " << firstRow;
    }

    bool IsBlank(const PixelImage& screen) const
    {
        for (int y = 0; y < screen.Height(); y += 9)
            for (int x = 0; x < screen.Width(); x += 9)
                if ((screen.Pixel(x, y) & 0xFFFFFF) != 0)
                    return false;
        return true;
    }

    SceneWindow* m_window = nullptr;
    CQX_NoticeBoard m_board;
};

}

TEST_F(NoticeBoardDrawing, WholeNoticesAndBannersUnderTheGui)
{
    m_board.SetState(CQX_NoticeBoard::NoSearchResult);
    const PixelImage whole = Draw(false);
    SceneWindow::SaveScreenshot(whole, "scene_notice_no_result");
    ExpectPicture(whole, "../datafiles/imagesets/no_search_result.jpg", 0, 374);
    EXPECT_TRUE(IsBlank(Draw(true)));

    m_board.SetState(CQX_NoticeBoard::NewBrowse);
    ExpectPicture(Draw(false), "../datafiles/imagesets/no_search_result.jpg", 373, 70);
    m_board.SetState(CQX_NoticeBoard::InputRefused);
    ExpectPicture(Draw(false), "../datafiles/imagesets/no_search_result.jpg", 442, 70);
    m_board.SetState(CQX_NoticeBoard::OpeningProduct);
    ExpectPicture(Draw(false), "../datafiles/imagesets/no_today_products.jpg", 373, 70);
    m_board.SetState(CQX_NoticeBoard::NetworkFailure);
    ExpectPicture(Draw(false), "../datafiles/imagesets/fail_connect_net.jpg", 0, 374);
    m_board.SetState(CQX_NoticeBoard::NoFavoriteShops);
    ExpectPicture(Draw(false), "../datafiles/imagesets/no_favorite_shops.jpg", 0, 374);

    m_board.SetState(CQX_NoticeBoard::ResultsPresent);
    EXPECT_TRUE(IsBlank(Draw(false)));
    EXPECT_TRUE(IsBlank(Draw(true)));
}

TEST_F(NoticeBoardDrawing, TheNoticesBlackLetsTheWallShowThrough)
{
    constexpr uint32_t kWall = 0xFF3060A0;
    m_board.SetState(CQX_NoticeBoard::NoSearchResult);
    const PixelImage screen = Draw(false, kNow, kWall);
    SceneWindow::SaveScreenshot(screen, "scene_notice_over_the_wall");
    ExpectPicture(screen, "../datafiles/imagesets/no_search_result.jpg", 0, 374);
    const PixelImage picture = PixelImage::LoadFile("../datafiles/imagesets/no_search_result.jpg");
    const int left = m_window->Width() / 2 - 256;
    const int top = m_window->Height() / 2 - 374 / 2;
    int keyed = 0, seeThrough = 0;
    for (int y = 0; y < 374; y += 3)
        for (int x = 0; x < 512; x += 3) {
            if (!IsKeyedBlack(picture.Pixel(x, y)))
                continue;
            ++keyed;
            seeThrough += screen.Pixel(left + x, top + y) == kWall;
        }
    EXPECT_GT(keyed, 1000);
    EXPECT_EQ(seeThrough, keyed) << "black of the notice hides the wall";
}

TEST_F(NoticeBoardDrawing, WebPageNoticeIsDrawnOverTheGuiRaisedByAThirdOfTheHeight)
{
    m_board.SetState(CQX_NoticeBoard::OpeningWebPage);
    EXPECT_TRUE(IsBlank(Draw(false)));
    const PixelImage over = Draw(true);
    SceneWindow::SaveScreenshot(over, "scene_notice_web_page");
    const int offset = static_cast<int>(0.3 * CQX_GlobalVariable::getInstance().GetOverlayHeight());
    ExpectPicture(over, "../datafiles/imagesets/no_favorit_products.jpg", 373, 70, offset);
}

TEST_F(NoticeBoardDrawing, ExpiredStateLapsesOnTheFirstDrawAfterItsTick)
{
    m_board.SetState(CQX_NoticeBoard::InputRefused, kNow + 100);
    EXPECT_FALSE(IsBlank(Draw(false, kNow + 100)));
    EXPECT_EQ(m_board.GetState(), CQX_NoticeBoard::InputRefused);
    EXPECT_TRUE(IsBlank(Draw(false, kNow + 101)));
    EXPECT_EQ(m_board.GetState(), CQX_NoticeBoard::None);
    EXPECT_EQ(m_board.GetExpiry(), 0u);
    EXPECT_TRUE(IsBlank(Draw(false, kNow + 50)));

    m_board.SetState(CQX_NoticeBoard::OpeningWebPage, kNow + 10);
    EXPECT_TRUE(IsBlank(Draw(true, kNow + 11)));
    EXPECT_EQ(m_board.GetState(), CQX_NoticeBoard::None);
}

TEST_F(NoticeBoardDrawing, MissingPicturesDrawNothing)
{
    CQX_NoticeBoard unloaded;
    unloaded.SetState(CQX_NoticeBoard::NoSearchResult);
    m_window->BeginFrame();
    unloaded.DrawUnder(kNow);
    EXPECT_TRUE(IsBlank(m_window->ReadPixels()));
}
