#include "taobao/CTaobaoProductDetailsVisitor.h"
#include "taobao/CTaobaoProductInfoDetails.h"
#include "taobao/TaobaoErrorVisitor.h"
#include "taobao/TaobaoProductVisitor.h"
#include "taobao/TaobaoXml.h"
#include "taobao/TaobaokeProductVisitor.h"
#include "taobao/TaobaokeVisitor.h"

#include <gtest/gtest.h>

namespace
{

using Products = std::vector<std::unique_ptr<CTaobaoProductInfo>>;

const char* const kSearchAnswer = R"(<?xml version="1.0" encoding="utf-8"?>
<items_search_response>
  <item_search>
    <items>
      <item_list><num_iid>101</num_iid><title>&lt;span class=H&gt;连衣裙&lt;/span&gt; 夏 &amp;amp; 秋</title>
        <nick>卖家一</nick><pic_path>http://img/101.jpg</pic_path><type>fixed</type><price>15</price><volume>42</volume></item_list>
      <item_list><num_iid>102</num_iid><title>no type</title><nick>n</nick><price>1</price></item_list>
      <item_list><num_iid>103</num_iid><title>plain</title><nick>n3</nick><type>auction</type><price>9.999</price></item_list>
    </items>
  </item_search>
  <totalResults>2345</totalResults>
</items_search_response>)";

const char* const kAffiliateAnswer = R"(<taobaoke_items_get_response><taobaoke_items>
  <taobaokeItem><num_iid>7</num_iid><title>A&lt;br&gt;B</title><nick>x</nick><price>abc</price>
    <pic_url>http://img/7.jpg</pic_url></taobaokeItem>
  <taobaokeItem><num_iid>8</num_iid><title>t</title><nick>y</nick><price>0.005</price></taobaokeItem>
  <taobaokeItem><num_iid>9</num_iid><nick>z</nick><price>3</price></taobaokeItem>
</taobaoke_items><totalResults>61</totalResults></taobaoke_items_get_response>)";

}

TEST(ProductVisitor, ItemsMissingARequiredChildAreSkipped)
{
    std::vector<int> indices;
    Products products;
    int total = 0;
    parseProductList(kSearchAnswer, 400, indices, products, total);
    EXPECT_EQ(total, 2345);
    ASSERT_EQ(products.size(), 2u);
    EXPECT_EQ(indices, (std::vector<int>{400, 401}));
    const CTaobaoProductInfo& first = *products[0];
    EXPECT_EQ(first.num_iid, "101");
    EXPECT_EQ(first.pic_url, "http://img/101.jpg");
    EXPECT_EQ(first.price, "15.00");
    EXPECT_EQ(first.type, "fixed");
    EXPECT_EQ(first.nick, "卖家一");
    EXPECT_EQ(first.volume, "42");
    // Tags dropped, entity decoded, text in GBK.
    EXPECT_EQ(first.title, "\xC1\xAC\xD2\xC2\xC8\xB9 \xCF\xC4 & \xC7\xEF");
    const CTaobaoProductInfo& third = *products[1];
    EXPECT_EQ(third.num_iid, "103");
    EXPECT_EQ(third.price, "10.00");
    EXPECT_EQ(third.pic_url, "../datafiles/imagesets/no_pic.jpg");
    EXPECT_EQ(third.volume, "0");
}

TEST(ProductVisitor, AffiliateItemsHaveNoTypeAndVolumeZero)
{
    std::vector<int> indices;
    Products products;
    int total = 0;
    parseTaobaokeProductList(kAffiliateAnswer, 80, indices, products, total);
    EXPECT_EQ(total, 61);
    ASSERT_EQ(products.size(), 2u);
    EXPECT_EQ(indices, (std::vector<int>{80, 81}));
    EXPECT_EQ(products[0]->title, "A\nB");
    EXPECT_EQ(products[0]->price, "0.00");
    EXPECT_EQ(products[0]->pic_url, "http://img/7.jpg");
    EXPECT_TRUE(products[0]->type.empty());
    EXPECT_EQ(products[0]->volume, "0");
    EXPECT_EQ(products[1]->pic_url, "../datafiles/imagesets/no_pic.jpg");
    EXPECT_EQ(products[1]->price, "0.01");
}

TEST(ProductVisitor, GarbageYieldsNothing)
{
    for (const char* body : {"", "<html><body>502 Bad Gateway", "\x01\x02\xFF not xml"}) {
        std::vector<int> indices;
        Products products;
        int total = -1;
        parseProductList(body, 0, indices, products, total);
        EXPECT_TRUE(products.empty());
        EXPECT_EQ(total, 0);
    }
}

TEST(ProductVisitor, NumbersAreReadFromTheStartOfTheText)
{
    EXPECT_EQ(TaobaoXml::toInt("  +42abc"), 42);
    EXPECT_EQ(TaobaoXml::toInt("-7"), -7);
    EXPECT_EQ(TaobaoXml::toInt("x1"), 0);
    EXPECT_EQ(TaobaoXml::toInt("99999999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(TaobaoXml::toDouble(" 1.5e2yuan"), 150.0);
    EXPECT_EQ(TaobaoXml::formatPrice("nan"), "0.00");
    EXPECT_EQ(TaobaoXml::formatPrice("-2.345"), "-2.35");
    EXPECT_EQ(TaobaoXml::formatFixed2(0.9492), "0.95");
}

TEST(TaobaokeVisitor, TheLastClickUrlWins)
{
    TaobaokeVisitor visitor;
    TaobaoXml::walk(R"(<r><taobaokeItem><click_url>http://one</click_url></taobaokeItem>
        <taobaokeShop><click_url>http://two</click_url></taobaokeShop><taobaokeItem/></r>)",
                    visitor);
    EXPECT_EQ(visitor.clickUrl, "http://two");
}

TEST(ProductDetailsVisitor, ReadsFieldsAnywhereAndConvertsLocation)
{
    CTaobaoProductDetailsVisitor visitor;
    TaobaoXml::walk(R"(<item_get_response><item>
        <desc>&lt;p&gt;好&lt;/p&gt;</desc><num>12</num><delist_time>2026-12-31 10:00:00</delist_time>
        <location><state>浙江</state><city>杭州</city></location><express_fee>10.00</express_fee>
        <detail_url>http://item/1</detail_url><sub><num>13</num></sub></item></item_get_response>)",
                    visitor);
    CTaobaoProductInfoDetails record;
    record.num_iid = "1";
    visitor.copyTo(record);
    EXPECT_EQ(record.num_iid, "1");
    EXPECT_EQ(record.desc, "<p>\xBA\xC3</p>");
    EXPECT_EQ(record.num, "13");
    EXPECT_EQ(record.delist_time, "2026-12-31 10:00:00");
    EXPECT_EQ(record.state, "\xD5\xE3\xBD\xAD");
    EXPECT_EQ(record.city, "\xBA\xBC\xD6\xDD");
    EXPECT_EQ(record.express_fee, "10.00");
    EXPECT_EQ(record.detail_url, "http://item/1");
}

TEST(ErrorVisitor, RecognisesAnErrorAnswerAtAnyDepth)
{
    TaobaoErrorVisitor error;
    EXPECT_TRUE(TaobaoXml::walk("<a><b><error_rsp><code>25</code></error_rsp></b></a>", error));
    EXPECT_TRUE(error.isError());
    TaobaoErrorVisitor fine;
    EXPECT_TRUE(TaobaoXml::walk("<items_search_response><error_rsps/></items_search_response>", fine));
    EXPECT_FALSE(fine.isError());
    TaobaoErrorVisitor garbage;
    EXPECT_FALSE(TaobaoXml::walk("<html><p>oops", garbage));
    EXPECT_FALSE(garbage.isError());
}
