#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, ChineseRoundTripsThroughGbk)
{
    const std::string zhejiang = "浙江";
    const std::string hangzhou = "杭州";
    EXPECT_EQ(CodePage::Utf8ToGbk(zhejiang), "\xD5\xE3\xBD\xAD");
    EXPECT_EQ(CodePage::GbkToUtf8(CodePage::Utf8ToGbk(zhejiang)), zhejiang);
    EXPECT_EQ(CodePage::GbkToUtf8(CodePage::Utf8ToGbk(hangzhou)), hangzhou);
    EXPECT_EQ(CodePage::Utf8ToGbk("price 12.50"), "price 12.50");
}

TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks)
{
    // An emoji and a Korean syllable have no GBK code; the text around them survives.
    EXPECT_EQ(CodePage::Utf8ToGbk("a\xF0\x9F\x98\x80" "b\xEA\xB0\x80" "c"), "a?b?c");
}

TEST(CodePage, MalformedInputIsReplacedNotTruncated)
{
    EXPECT_EQ(CodePage::Utf8ToGbk("x\xC3(y"), "x?(y");
    EXPECT_EQ(CodePage::Utf8ToGbk("tail\xE6\xB5"), "tail?");
    // A GBK lead byte followed by a byte that cannot trail it: only the lead is lost.
    EXPECT_EQ(CodePage::GbkToUtf8("a\x81\x0A" "b"), "a?\nb");
    EXPECT_EQ(CodePage::GbkToUtf8("end\xD5"), "end?");
}

TEST(CodePage, LongTextConvertsCompletely)
{
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "杭州";
    std::string gbk = CodePage::Utf8ToGbk(text);
    EXPECT_EQ(gbk.size(), 3000u * 4);
    EXPECT_EQ(CodePage::GbkToUtf8(gbk), text);
}
