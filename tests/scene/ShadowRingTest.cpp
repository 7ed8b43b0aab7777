// The shadow behind a card is drawn only where the card will not cover it:
// what is left must be the whole squeezed shadow less the card's opaque
// parts, with the texture lying exactly as on the whole shadow.
#include "platform/VertexBuffer.h"
#include "scene/CPictureSize.h"
#include "scene/CWallGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct TexVertex
{
    float x, y, z, u, v;
};

const TexVertex* Vertices(const VertexBuffer& buffer)
{
    return reinterpret_cast<const TexVertex*>(buffer.Data());
}

double Area(const VertexBuffer& buffer)
{
    const TexVertex* v = Vertices(buffer);
    double area = 0;
    for (size_t i = 0; i + 2 < buffer.VertexCount(); i += 3)
        area += std::fabs((v[i + 1].x - v[i].x) * (v[i + 2].y - v[i].y) -
                          (v[i + 2].x - v[i].x) * (v[i + 1].y - v[i].y)) / 2;
    return area;
}

bool Inside(const TexVertex& p, float left, float bottom, float right, float top)
{
    return p.x > left && p.x < right && p.y > bottom && p.y < top;
}

// Whether any triangle's centre lies in the rectangle.
bool Covers(const VertexBuffer& buffer, float left, float bottom, float right, float top)
{
    const TexVertex* v = Vertices(buffer);
    for (size_t i = 0; i + 2 < buffer.VertexCount(); i += 3) {
        const TexVertex centre{(v[i].x + v[i + 1].x + v[i + 2].x) / 3, (v[i].y + v[i + 1].y + v[i + 2].y) / 3, 0, 0, 0};
        if (Inside(centre, left, bottom, right, top))
            return true;
    }
    return false;
}

}

TEST(ShadowRing, AFullCardLeavesTheRingAroundItsPictureAndTextBand)
{
    const auto ring = CWallGeometry::MakeShadowRing(CPictureSize{220, 220}, true, true);
    const double whole = 238.0 * 352, picture = 218.0 * 218, text = 198.0 * 93;
    EXPECT_NEAR(Area(*ring), whole - picture - text, 1);
    EXPECT_FALSE(Covers(*ring, -109, 120, 109, 338));
    EXPECT_FALSE(Covers(*ring, -99, 17, 99, 110));
    EXPECT_TRUE(Covers(*ring, -119, 111, 119, 119)) << "the strip between text band and picture stays";
    for (size_t i = 0; i < ring->VertexCount(); ++i) {
        const TexVertex& p = Vertices(*ring)[i];
        EXPECT_FLOAT_EQ(p.u, (p.x + 119) / 238);
        EXPECT_FLOAT_EQ(p.v, (352 - p.y) / 352);
    }
}

TEST(ShadowRing, AShortCardsShadowIsSqueezedAboutItsBaseWithTheTextureAsOnTheWhole)
{
    const CPictureSize size{200, 100};
    const float s = (100.0f + CWallGeometry::kCardChrome) / CWallGeometry::kCardHeight;
    const float base = 8 * (1 - s);
    const auto ring = CWallGeometry::MakeShadowRing(size, true, true);
    EXPECT_NEAR(Area(*ring), 238.0 * 352 * s - 198.0 * 98 - 198.0 * 93, 1);
    EXPECT_FALSE(Covers(*ring, -99, 120, 99, 218));
    for (size_t i = 0; i < ring->VertexCount(); ++i) {
        const TexVertex& p = Vertices(*ring)[i];
        EXPECT_GE(p.y, base - 1e-3f);
        EXPECT_LE(p.y, base + 352 * s + 1e-3f);
        EXPECT_NEAR(p.v, 1 - (p.y - base) / (352 * s), 1e-5);
    }
}

// Nothing covers the shadow where a texture is missing, so no hole is cut
// there; a full card's white background is drawn whatever the picture.
TEST(ShadowRing, OnlyWhatIsDrawnCutsAHole)
{
    const auto bare = CWallGeometry::MakeShadowRing(CPictureSize{200, 100}, false, false);
    const float s = (100.0f + CWallGeometry::kCardChrome) / CWallGeometry::kCardHeight;
    EXPECT_NEAR(Area(*bare), 238.0 * 352 * s, 1);
    const auto noText = CWallGeometry::MakeShadowRing(CPictureSize{220, 220}, false, false);
    EXPECT_NEAR(Area(*noText), 238.0 * 352 - 218.0 * 218, 1);
    EXPECT_TRUE(Covers(*noText, -99, 17, 99, 110));
}
