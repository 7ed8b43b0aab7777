#include "taobao/TaobaoText.h"

#include <gtest/gtest.h>

TEST(HtmlToText, LineBreaksCollapseToAtMostTwo)
{
    EXPECT_EQ(HtmlToText("a<br>b<br><BR><Br>c"), "a\nb\n\nc");
    EXPECT_EQ(HtmlToText("<br>start"), "start");
    EXPECT_EQ(HtmlToText("one\ntwo\r\n"), "onetwo\r");
}

TEST(HtmlToText, TagsAreDroppedUpToTheirEnd)
{
    EXPECT_EQ(HtmlToText("<span class=H>key</span> word"), "key word");
    EXPECT_EQ(HtmlToText("<br/>x<br >y"), "xy");
    EXPECT_EQ(HtmlToText("cut <b unclosed"), "cut ");
}

TEST(HtmlToText, KnownEntitiesAreDecodedOthersKept)
{
    EXPECT_EQ(HtmlToText("a &amp; b &lt;&gt; &quot;&apos;&nbsp;"), "a & b <> \"' ");
    EXPECT_EQ(HtmlToText("&copy; &AMP; &amp &"), "&copy; &AMP; &amp &");
    EXPECT_EQ(HtmlToText("&ldquo;&rdquo;&lsquo;&rsquo;&rarr;&sect;&hellip;&cap;&mdash;&times;"),
              "\xA1\xB0\xA1\xB1\xA1\xAE\xA1\xAF\xA1\xFA\xA1\xEC\xA1\xAD\xA1\xC9\xA1\xAA\xA1\xC1");
}

TEST(AnsiConversion, InPlaceBothWays)
{
    std::string text = "杭州 shop";
    UTF8ToAnsi(text);
    EXPECT_EQ(text, "\xBA\xBC\xD6\xDD shop");
    AnsiToUTF8(text);
    EXPECT_EQ(text, "杭州 shop");
}
