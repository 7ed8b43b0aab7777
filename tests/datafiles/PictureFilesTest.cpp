// The pictures the 3D device loads straight from datafiles/imagesets/, read
// the way the program reads them (FreeImage). The device keys out pure black,
// so visible artwork must never be pure black and transparent parts must be.

#include <FreeImage.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string picturePath(const std::string& file)
{
    const char* dir = std::getenv("QX_BUILD_DIR");
    return std::string(dir ? dir : "..") + "/datafiles/imagesets/" + file;
}

struct Rgba
{
    int r, g, b, a;
    bool black() const { return r == 0 && g == 0 && b == 0; }
};

class Picture
{
public:
    explicit Picture(const std::string& file)
        : m_dib(load(picturePath(file)), FreeImage_Unload)
    {
    }

    bool loaded() const { return m_dib != nullptr; }
    unsigned width() const { return FreeImage_GetWidth(m_dib.get()); }
    unsigned height() const { return FreeImage_GetHeight(m_dib.get()); }
    unsigned bpp() const { return FreeImage_GetBPP(m_dib.get()); }

    // x from the left, y from the top, as the picture is drawn.
    Rgba at(unsigned x, unsigned y) const
    {
        const BYTE* row = FreeImage_GetScanLine(m_dib.get(), height() - 1 - y);
        const BYTE* px = row + x * (bpp() / 8);
        return {px[FI_RGBA_RED], px[FI_RGBA_GREEN], px[FI_RGBA_BLUE],
                bpp() == 32 ? px[FI_RGBA_ALPHA] : 255};
    }

    int blackPixelsIn(unsigned x0, unsigned y0, unsigned x1, unsigned y1) const
    {
        int n = 0;
        for (unsigned y = y0; y < y1; ++y)
            for (unsigned x = x0; x < x1; ++x)
                n += at(x, y).black();
        return n;
    }

private:
    static FIBITMAP* load(const std::string& path)
    {
        const FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
        return fif == FIF_UNKNOWN ? nullptr : FreeImage_Load(fif, path.c_str(), 0);
    }

    std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)> m_dib;
};

struct Expected
{
    const char* file;
    unsigned width, height, bpp;
};

TEST(PictureFiles, LoadWithFreeImageAtTheirSizes)
{
    for (const Expected& e : {Expected{"program_start.jpg", 512, 512, 24},
                              {"no_search_result.jpg", 512, 512, 24},
                              {"no_today_products.jpg", 512, 512, 24},
                              {"no_favorit_products.jpg", 512, 512, 24},
                              {"fail_connect_net.jpg", 512, 512, 24},
                              {"no_favorite_shops.jpg", 512, 512, 24},
                              {"no_pic.jpg", 256, 256, 24},
                              {"back_shadow.tga", 256, 512, 32},
                              {"front_shadow.jpg", 256, 512, 24},
                              {"redheart.bmp", 14, 14, 24},
                              {"diamond.bmp", 14, 14, 24},
                              {"crown.bmp", 14, 14, 24}}) {
        Picture p(e.file);
        ASSERT_TRUE(p.loaded()) << e.file;
        EXPECT_EQ(p.width(), e.width) << e.file;
        EXPECT_EQ(p.height(), e.height) << e.file;
        EXPECT_EQ(p.bpp(), e.bpp) << e.file;
    }
}

// Rows 0-373 are the whole notice, 373-442 banner 1 and 442-511 banner 2.
TEST(PictureFiles, NoticesCarryTheirBannersBelowAnOpaqueCard)
{
    for (auto [file, banners] : {std::pair{"no_search_result.jpg", 2}, {"no_today_products.jpg", 1},
                                 {"no_favorit_products.jpg", 2}, {"fail_connect_net.jpg", 0},
                                 {"no_favorite_shops.jpg", 0}}) {
        Picture p(file);
        ASSERT_TRUE(p.loaded()) << file;
        EXPECT_TRUE(p.at(0, 0).black()) << file << ": the notice's surroundings must be keyed out";
        EXPECT_EQ(p.blackPixelsIn(60, 70, 452, 320), 0) << file << ": black holes in the card";
        for (int banner = 0; banner < 2; ++banner) {
            const unsigned middle = banner == 0 ? 373 + 35 : 442 + 35;
            const int drawn = 512 - p.blackPixelsIn(0, middle, 512, middle + 1);
            if (banner < banners)
                EXPECT_GT(drawn, 100) << file << ": banner " << banner + 1 << " is empty";
            else
                EXPECT_EQ(drawn, 0) << file << ": unexpected banner " << banner + 1;
        }
    }
}

TEST(PictureFiles, StartupPictureFillsItsTopRowsWithoutHoles)
{
    Picture p("program_start.jpg");
    ASSERT_TRUE(p.loaded());
    EXPECT_EQ(p.blackPixelsIn(24, 24, 488, 350), 0);
    EXPECT_TRUE(p.at(256, 440).black()) << "rows below 374 are never drawn";
}

TEST(PictureFiles, PlaceholderIsFullyVisible)
{
    Picture p("no_pic.jpg");
    ASSERT_TRUE(p.loaded());
    EXPECT_EQ(p.blackPixelsIn(0, 0, p.width(), p.height()), 0);
}

// The back shadow is blended with (1 - alpha) as its strength; the front
// shadow veils a dimmed card in grey and leaves the rest untouched (black).
TEST(PictureFiles, ShadowsDarkenTheCardAreaOnly)
{
    Picture back("back_shadow.tga");
    ASSERT_TRUE(back.loaded());
    EXPECT_EQ(back.at(0, 0).a, 255);
    EXPECT_LT(back.at(128, 256).a, 128);
    EXPECT_LT(back.at(128, 256).r, 40);

    Picture front("front_shadow.jpg");
    ASSERT_TRUE(front.loaded());
    EXPECT_TRUE(front.at(0, 0).black());
    EXPECT_GT(front.at(128, 256).r, 90);
    EXPECT_LT(front.at(128, 256).r, 200);
}

TEST(PictureFiles, CreditIconsAreColouredShapesOnTransparentBlack)
{
    Picture heart("redheart.bmp"), diamond("diamond.bmp"), crown("crown.bmp");
    for (const Picture* p : {&heart, &diamond, &crown}) {
        ASSERT_TRUE(p->loaded());
        EXPECT_TRUE(p->at(0, 0).black());
        EXPECT_FALSE(p->at(7, 8).black());
    }
    const Rgba h = heart.at(7, 8), d = diamond.at(7, 9), c = crown.at(4, 10);
    EXPECT_GT(h.r, h.g + 100);
    EXPECT_GT(d.b, d.r + 100);
    EXPECT_GT(c.g, c.b + 100);
}

}  // namespace
