// The wall drawn for real into the test window's back buffer and checked by
// its pixels at the places the cards' geometry puts them.
#include "tests/support/SceneWindow.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/CodePage.h"
#include "platform/RenderDevice.h"
#include "platform/Ticks.h"
#include "scene/CCardPainter.h"
#include "scene/CProductWall.h"
#include "scene/CSceneCamera.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const uint32_t kColours[8] = {0xFFE03030, 0xFF30E030, 0xFF3030E0, 0xFFE0E030,
                              0xFF30E0E0, 0xFFE030E0, 0xFFE09030, 0xFF9030E0};

bool Near(uint32_t a, uint32_t b, int tolerance = 6)
{
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

int Brightness(uint32_t p)
{
    return RedOf(p) + GreenOf(p) + BlueOf(p);
}

class WallDrawing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = &SceneWindow::Instance();
        m_wall.InitDevice(m_window->Device());
        m_wall.SetScrollLimit(1000);
    }

    void TearDown() override { CQX_GlobalVariable::getInstance().SetCurrentModeId(8); }

    // A card whose picture is one colour, width x height pixels.
    void AddCard(int index, uint32_t colour, int width = 256, int height = 256, const std::string& numIid = "")
    {
        RenderDevice& device = m_window->Device();
        m_picturePath = "/tmp/qx-scene-" + std::to_string(index) + "-" + std::to_string(width) + "x" +
                        std::to_string(height) + ".png";
        ASSERT_TRUE(PixelImage(width, height, colour).SavePng(m_picturePath));
        TexturePtr card = CCardPainter::DrawProductCard("128.00", CodePage::Utf8ToGbk("一口价"), index,
                                                        CodePage::Utf8ToGbk("夏季新款纯棉短袖T恤"), device);
        ASSERT_TRUE(m_wall.AddProductCard(index, m_picturePath, numIid, nullptr, std::move(card)));
    }

    void AddEightCards()
    {
        for (int i = 0; i < 8; ++i)
            AddCard(i, kColours[i]);
    }

    PixelImage Draw(const std::string& screenshot)
    {
        m_window->BeginFrame();
        m_wall.Render(m_wall.Motion().lastUpdateTick);
        PixelImage image = m_window->ReadPixels();
        SceneWindow::SaveScreenshot(image, screenshot);
        return image;
    }

    // Where a point of card index's own space lands on the screen, the wall
    // at rest without swing: scaled by the card scale, placed in its column
    // and row, moved by the scroll and the wall's anchor.
    glm::ivec2 Pixel(int index, float x, float y) const
    {
        const CWallLayout& layout = m_wall.Layout();
        const D3DXVECTOR3 offset = layout.CardOffset(index);
        const float scroll = static_cast<float>(m_wall.Motion().scrollPosition);
        const D3DXVECTOR3 world(x * layout.scale + offset.x - scroll + layout.wallX,
                                y * layout.scale + offset.y + layout.wallY, 0);
        return glm::ivec2(m_window->ToScreen(world, D3DXMatrixIdentity()));
    }

    uint32_t At(const PixelImage& image, int index, float x, float y) const
    {
        const glm::ivec2 p = Pixel(index, x, y);
        if (p.x < 0 || p.y < 0 || p.x >= image.Width() || p.y >= image.Height()) {
            ADD_FAILURE() << "card " << index << " (" << x << ", " << y << ") is off the screen";
            return 0;
        }
        return image.Pixel(p.x, p.y);
    }

    int PickAt(int index, float x, float y)
    {
        const glm::ivec2 p = Pixel(index, x, y);
        return m_wall.Pick(m_wall.Motion().lastUpdateTick,
                           CSceneCamera::BuildPickRay(m_window->Device(), static_cast<float>(p.x),
                                                      static_cast<float>(p.y)));
    }

    SceneWindow* m_window = nullptr;
    CProductWall m_wall;
    std::string m_picturePath;
};

}

TEST_F(WallDrawing, PictureStandsOnItsTextBandWithTheBottomRowMirrored)
{
    AddEightCards();
    const PixelImage image = Draw("scene_wall_big");
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(Near(At(image, i, 0, 229), kColours[i])) << i;
    // The text band under the picture: its red price at the right.
    int red = 0;
    for (float x = 20; x < 100; x += 1)
        for (float y = 16; y < 45; y += 1) {
            const uint32_t p = At(image, 2, x, y);
            red += RedOf(p) > 180 && GreenOf(p) < 90;
        }
    EXPECT_GT(red, 50);
    EXPECT_EQ(Brightness(At(image, 2, -50, 70)), 0);
    // Under the bottom row a dim copy of the picture, fading downwards.
    for (int i : {1, 3, 5}) {
        const uint32_t upper = At(image, i, 0, -40);
        const uint32_t lower = At(image, i, 0, -100);
        EXPECT_GT(Brightness(upper), Brightness(lower)) << i;
        EXPECT_LT(Brightness(upper), Brightness(kColours[i]) * 6 / 10) << i;
        EXPECT_GT(Brightness(upper), 120) << i;
        EXPECT_GT(GreenOf(At(image, 1, 0, -40)), RedOf(At(image, 1, 0, -40)) + 30);
    }
}

TEST_F(WallDrawing, NarrowPicturesStandOnAWhiteBackground)
{
    AddCard(0, 0xFF2060C0, 200, 300);
    AddCard(1, 0xFF2060C0, 300, 200);
    const PixelImage image = Draw("scene_wall_narrow");
    EXPECT_TRUE(Near(At(image, 0, 0, 229), 0xFF2060C0));
    EXPECT_TRUE(Near(At(image, 0, -100, 229), 0xFFFFFFFF));
    EXPECT_TRUE(Near(At(image, 0, -100, 130), 0xFFFFFFFF));
    // A wide picture is lower and has no white background above it.
    EXPECT_TRUE(Near(At(image, 1, 0, 119 + 73), 0xFF2060C0));
    EXPECT_LT(Brightness(At(image, 1, 0, 300)), 90);
}

TEST_F(WallDrawing, HoveredCardIsEnlargedLiftedAndDrawnOnTopWithoutReflection)
{
    AddEightCards();
    const PixelImage still = Draw("scene_wall_still");
    // Card 0's text band lies where the hovered card 1 will grow to.
    EXPECT_FALSE(Near(At(still, 0, 0, 60), kColours[1], 30));
    const uint32_t reflection = At(still, 1, 0, -120);

    m_wall.SetHoveredIndex(1);
    const PixelImage hovered = Draw("scene_wall_hovered");
    EXPECT_TRUE(Near(At(hovered, 0, 0, 60), kColours[1]));
    EXPECT_LT(Brightness(At(hovered, 1, 0, -120)), Brightness(reflection) - 40);
    // Its neighbours are unchanged.
    EXPECT_TRUE(Near(At(hovered, 3, 0, 229), kColours[3]));
}

TEST_F(WallDrawing, PlaceholderPanelIsLitGreyLighterAtTheTop)
{
    m_wall.MarkPlaceholder(2);
    const PixelImage image = Draw("scene_wall_placeholder");
    const uint32_t top = At(image, 2, 0, 320);
    const uint32_t bottom = At(image, 2, 0, 40);
    EXPECT_GT(Brightness(top), 400);
    EXPECT_LT(Brightness(bottom), 200);
    EXPECT_GT(Brightness(bottom), 80);
    EXPECT_GE(BlueOf(top), RedOf(top));
    EXPECT_NEAR(RedOf(top), GreenOf(top), 2);
}

TEST_F(WallDrawing, BackdropFadesFromBlueGreyAtTheBottomToBlack)
{
    const PixelImage image = Draw("scene_wall_empty");
    const uint32_t top = image.Pixel(10, 5);
    const uint32_t bottom = image.Pixel(10, image.Height() - 3);
    EXPECT_LT(Brightness(top), 6);
    EXPECT_NEAR(RedOf(bottom), 20, 3);
    EXPECT_GT(BlueOf(bottom), RedOf(bottom) + 3);
    EXPECT_GT(Brightness(image.Pixel(10, image.Height() / 2)), Brightness(top));
}

TEST_F(WallDrawing, RemovedFavouritesLookSmallerAndDimmed)
{
    AddCard(0, 0xFFE0E0E0, 256, 256, "1001");
    CQX_GlobalVariable::getInstance().SetCurrentModeId(2);
    const PixelImage image = Draw("scene_wall_dimmed");
    // Shrunk to three quarters about (29.75, 44): the picture's top-left
    // corner area shows the backdrop, its new centre a veiled picture.
    EXPECT_LT(Brightness(At(image, 0, -105, 335)), 100);
    const uint32_t centre = At(image, 0, 22.3f, 204.8f);
    EXPECT_LT(Brightness(centre), Brightness(0xFFE0E0E0) - 60);
    EXPECT_GT(Brightness(centre), 200);
}

TEST_F(WallDrawing, PickingFindsTheCardUnderThePixel)
{
    AddEightCards();
    m_wall.MarkPlaceholder(8);
    AddCard(9, 0xFF808080, 300, 150);
    Draw("scene_wall_pick");
    EXPECT_EQ(PickAt(5, 0, 229), 5);
    EXPECT_EQ(PickAt(1, 100, 10), 1);
    EXPECT_EQ(PickAt(1, 0, -100), -1);
    EXPECT_EQ(PickAt(1, -150, 229), -1);
    // A placeholder is as tall as a full card; a wide picture's card is lower.
    EXPECT_EQ(PickAt(8, 0, 340), 8);
    // (Its 220 x 110 picture makes it 110 + 132 high.)
    EXPECT_EQ(PickAt(9, 0, 235), 9);
    EXPECT_EQ(PickAt(9, 0, 250), -1);

    // One column further, the same pixel shows the next column's card.
    const glm::ivec2 pixel = Pixel(5, 0, 229);
    m_wall.Motion().scrollPosition = 395;
    EXPECT_EQ(m_wall.Pick(m_wall.Motion().lastUpdateTick,
                          CSceneCamera::BuildPickRay(m_window->Device(), static_cast<float>(pixel.x),
                                                     static_cast<float>(pixel.y))),
              7);
}

TEST_F(WallDrawing, SwingTurnsTheWallAboutItsAnchor)
{
    AddEightCards();
    m_wall.Motion().swingAngle = 20;
    const PixelImage image = Draw("scene_wall_swing");
    // Turned about the vertical axis: the cards left of the anchor move
    // away and look narrower, those right of it come closer.
    auto run = [&](int index) {
        const glm::ivec2 centre = Pixel(index, 0, 229);
        int pixels = 0;
        for (int x = 0; x < image.Width(); ++x)
            pixels += Near(image.Pixel(x, centre.y), kColours[index]);
        return pixels;
    };
    const int flat = Pixel(0, 110, 229).x - Pixel(0, -110, 229).x;
    EXPECT_LT(run(0), flat - 8);
    EXPECT_GT(run(6), flat + 8);
}
