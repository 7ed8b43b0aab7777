#include "taobao/CTaobaoSellerVisitor.h"
#include "taobao/CTaobaoShopVisitor.h"
#include "taobao/TaobaoXml.h"

#include <gtest/gtest.h>

TEST(ShopVisitor, FirstShopBecomesTheItem)
{
    CTaobaoShopVisitor visitor;
    TaobaoXml::walk(R"(<shop_get_response>
        <shop><sid>77</sid><title>小店</title><nick>店主</nick><desc>描述</desc>
          <bulletin>上新</bulletin><pic_path>/logo/77.png</pic_path></shop>
        <shop><nick>second</nick></shop></shop_get_response>)",
                    visitor);
    ASSERT_EQ(visitor.shops.size(), 2u);
    CTaobaoShopItem item;
    ASSERT_TRUE(makeShopItem(visitor, item));
    EXPECT_EQ(item.sid, "77");
    EXPECT_EQ(item.title, "\xD0\xA1\xB5\xEA");
    EXPECT_EQ(item.nick, "\xB5\xEA\xD6\xF7");
    EXPECT_EQ(item.desc, "描述");
    EXPECT_EQ(item.bulletin, "上新");
    EXPECT_EQ(item.pic_path, "/logo/77.png");
}

TEST(ShopVisitor, MissingPartsAndMissingNick)
{
    CTaobaoShopVisitor visitor;
    TaobaoXml::walk("<r><shop><nick>a</nick><bulletin/></shop><shop><title>t</title></shop>"
                    "<shop><nick></nick></shop></r>",
                    visitor);
    ASSERT_EQ(visitor.shops.size(), 1u);
    const CTaobaoShopItem& shop = visitor.shops[0];
    EXPECT_TRUE(shop.sid.empty());
    EXPECT_TRUE(shop.pic_path.empty());
    EXPECT_EQ(shop.bulletin, "暂无公告");

    CTaobaoShopVisitor none;
    TaobaoXml::walk("<r><shop><title>t</title></shop></r>", none);
    CTaobaoShopItem item;
    item.nick = "untouched";
    EXPECT_FALSE(makeShopItem(none, item));
    EXPECT_EQ(item.nick, "untouched");
}

TEST(SellerVisitor, ReputationIsScorePerRating)
{
    CTaobaoSellerVisitor visitor;
    TaobaoXml::walk("<user_get_response><user><seller_credit><level>5</level><score>1234</score>"
                    "<total_num>1300</total_num></seller_credit></user></user_get_response>",
                    visitor);
    CTaobaoUserItem seller = makeUserItem("卖家", visitor);
    EXPECT_EQ(seller.nick, "卖家");
    EXPECT_EQ(seller.credit, "1300");
    EXPECT_NEAR(seller.reputation, 0.9492, 0.0001);
}

TEST(SellerVisitor, IncompleteOrRatinglessCredit)
{
    CTaobaoSellerVisitor partial;
    TaobaoXml::walk("<r><seller_credit><score>5</score></seller_credit></r>", partial);
    EXPECT_TRUE(partial.credit.empty());
    EXPECT_EQ(partial.reputation, 0);

    CTaobaoSellerVisitor unrated;
    TaobaoXml::walk("<r><seller_credit><score>0</score><total_num>0</total_num></seller_credit></r>", unrated);
    EXPECT_EQ(unrated.credit, "0");
    EXPECT_EQ(unrated.reputation, 0);
}
