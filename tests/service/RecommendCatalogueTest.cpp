#include "service/CQXRecommendCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{

const std::string kGeneral = "\xC8\xAB\xB2\xBF\xB5\xBC\xB9\xBA";  // 全部导购 in GBK

class Package
{
public:
    Package()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quobrix-recommend-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(m_dir / "recommend" / "sub");
    }
    ~Package() { std::filesystem::remove_all(m_dir); }

    void write(const std::string& items) const
    {
        std::ofstream(file()) << "<?xml version=\"1.0\" encoding=\"gbk\"?>\n<root>" << items << "</root>";
    }
    std::string file() const { return (m_dir / "recommend.xml").string(); }
    std::string pictureDir() const { return (m_dir / "recommend").string() + "/"; }

private:
    std::filesystem::path m_dir;
};

std::string item(const std::string& name, const std::string& cls, const std::string& extra = "")
{
    return "<p><c>" + cls + "</c><k>" + name + "</k><u>http://pic/" + name + ".jpg</u>" + extra + "</p>";
}

std::vector<std::string> classNames(const CQXRecommendCatalogue& catalogue)
{
    std::vector<std::string> names;
    catalogue.GetClassNames(names);
    return names;
}

}

TEST(RecommendCatalogue, ClassesInOrderOfFirstMention)
{
    Package package;
    package.write("<r><ver>3</ver><vol>17</vol></r>" + item("one", "A") + item("two", "B") + item("three", "A") +
                  item("four", "") + "<p><k>no picture</k></p><p><u>http://x/y.jpg</u></p>");
    CQXRecommendCatalogue catalogue(package.file(), package.pictureDir());
    EXPECT_EQ(catalogue.Version(), 3);
    EXPECT_EQ(catalogue.PackageVersion(), 17);
    EXPECT_EQ(classNames(catalogue), (std::vector<std::string>{kGeneral, "A", "B"}));
    EXPECT_EQ(catalogue.ItemCount(), 4);
    catalogue.SetCurrentClass(1);
    ASSERT_EQ(catalogue.ItemCount(), 2);
    EXPECT_EQ(catalogue.GetItem(1)->name, "three");
    EXPECT_EQ(catalogue.GetItem(2), nullptr);
    EXPECT_EQ(catalogue.GetItem(-1), nullptr);
    catalogue.SetCurrentClass(2);
    EXPECT_EQ(catalogue.ItemCount(), 1);
    catalogue.SetCurrentClass(3);
    EXPECT_EQ(catalogue.GetCurrentClass(), 0);
    catalogue.SetCurrentClass(-2);
    EXPECT_EQ(catalogue.GetCurrentClass(), 0);
}

TEST(RecommendCatalogue, ItemFields)
{
    Package package;
    package.write(item("p", "", "<shop/><pd/><f>only product</f><j>http://page</j><d>card</d><ci>16</ci>"
                                "<pi>1:2</pi><l>10</l><h>abc</h><mall/><prp/><grt/><tbk/><v/>") +
                  item("s", "", "<shop/><f>ignored</f><l/>") + item(kGeneral, kGeneral));
    CQXRecommendCatalogue catalogue(package.file(), package.pictureDir());
    ASSERT_EQ(catalogue.ItemCount(), 3);
    const CQXRecommendItem& product = *catalogue.GetItem(0);
    EXPECT_EQ(product.type, CQXRecommendItem::Product);
    EXPECT_EQ(product.productText, "only product");
    EXPECT_EQ(product.productLink, "http://page");
    EXPECT_EQ(product.cardText, "card");
    EXPECT_EQ(product.categoryId, "16");
    EXPECT_EQ(product.propertyFilter, "1:2");
    EXPECT_EQ(product.lowPrice, 10);
    EXPECT_EQ(product.highPrice, 0);
    EXPECT_TRUE(product.mall && product.prepay && product.guarantee && product.affiliate && product.byVolume);
    const CQXRecommendItem& shop = *catalogue.GetItem(1);
    EXPECT_EQ(shop.type, CQXRecommendItem::Shop);
    EXPECT_TRUE(shop.productText.empty());
    EXPECT_FALSE(shop.mall);
    // A class named like the general one is a class of its own.
    EXPECT_EQ(classNames(catalogue), (std::vector<std::string>{kGeneral, kGeneral}));
}

TEST(RecommendCatalogue, MissingFileLeavesTheEmptyGeneralClass)
{
    Package package;
    CQXRecommendCatalogue catalogue(package.file(), package.pictureDir());
    EXPECT_EQ(classNames(catalogue), (std::vector<std::string>{kGeneral}));
    EXPECT_EQ(catalogue.ItemCount(), 0);
    EXPECT_EQ(catalogue.PackageVersion(), 0);
}

TEST(RecommendCatalogue, PicturePathsAreVersionedAndBounded)
{
    Package package;
    const std::string longName(200, 'n');
    package.write("<r><vol>5</vol></r><p><k>a</k><u>http://pic/dir/a.jpg</u></p><p><k>b</k><u>http://pic/dir/</u></p>"
                  "<p><k>c</k><u>/rootonly</u></p><p><k>d</k><u>http://pic/" + longName + ".png</u></p>"
                  "<p><k>e</k><u>http://pic/x" + longName + ".png</u></p>");
    CQXRecommendCatalogue catalogue(package.file(), "../datafiles/recommend/");
    EXPECT_EQ(catalogue.PicturePath(0), "../datafiles/recommend/5_a.jpg");
    EXPECT_EQ(catalogue.PicturePath(1), "");
    EXPECT_EQ(catalogue.PicturePath(2), "");
    std::string longPath = catalogue.PicturePath(3);
    EXPECT_LE(longPath.size(), 126u);
    EXPECT_EQ(longPath.rfind("../datafiles/recommend/5_", 0), 0u);
    EXPECT_EQ(longPath.substr(longPath.size() - 4), ".png");
    EXPECT_NE(longPath, catalogue.PicturePath(4));
    EXPECT_EQ(catalogue.PicturePath(9), "");
}

TEST(RecommendCatalogue, PictureReadinessFollowsTheCache)
{
    Package package;
    package.write("<r><vol>2</vol></r>" + item("a", "") + item("b", "") + "<p><k>c</k><u>http://x/</u></p>");
    CQXRecommendCatalogue catalogue(package.file(), package.pictureDir());
    EXPECT_FALSE(catalogue.IsPictureReady(0));
    std::ofstream(catalogue.PicturePath(0)) << "jpeg";
    EXPECT_TRUE(catalogue.IsPictureReady(0));
    EXPECT_FALSE(catalogue.IsPictureReady(1));
    catalogue.MarkPictureReady(1);
    EXPECT_TRUE(catalogue.IsPictureReady(1));
    EXPECT_FALSE(catalogue.IsPictureReady(2));
    EXPECT_FALSE(catalogue.IsPictureReady(7));
}

TEST(RecommendCatalogue, UpdateReloadsOnlyBeforeReady)
{
    Package package;
    package.write("<r><vol>1</vol></r>" + item("old", ""));
    CQXRecommendCatalogue catalogue(package.file(), package.pictureDir());
    const std::string cached = package.pictureDir() + "sub/1_old.jpg";
    std::ofstream(cached) << "old picture";
    EXPECT_FALSE(catalogue.IsReady());

    package.write("<r><vol>2</vol></r>" + item("new", "") + item("newer", ""));
    catalogue.FinishUpdate(true);
    EXPECT_TRUE(catalogue.IsReady());
    EXPECT_EQ(catalogue.PackageVersion(), 2);
    EXPECT_EQ(catalogue.ItemCount(), 2);
    EXPECT_FALSE(std::filesystem::exists(cached));
    EXPECT_TRUE(std::filesystem::is_directory(package.pictureDir() + "sub"));

    package.write("<r><vol>3</vol></r>");
    catalogue.FinishUpdate(true);
    EXPECT_EQ(catalogue.PackageVersion(), 2);
    EXPECT_EQ(catalogue.ItemCount(), 2);
}

TEST(RecommendCatalogue, ReadyWithoutUpdateKeepsTheFile)
{
    Package package;
    package.write(item("a", ""));
    CQXRecommendCatalogue catalogue(package.file(), package.pictureDir());
    package.write(item("a", "") + item("b", ""));
    catalogue.FinishUpdate(false);
    EXPECT_TRUE(catalogue.IsReady());
    EXPECT_EQ(catalogue.ItemCount(), 1);
}
