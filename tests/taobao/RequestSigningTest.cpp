#include "taobao/CTaobaoConnector.h"
#include "taobao/CTaobaoParamList.h"

#include <gtest/gtest.h>

#include <regex>

namespace
{

const std::string kSecret = "7c3e91a0d5b24f68e0a9c1d7b3f56e42";

}

TEST(RequestSigning, Md5IsUppercaseHex)
{
    EXPECT_EQ(CTaobaoConnector::md5HexUpper(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(CTaobaoConnector::md5HexUpper("abc"), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(RequestSigning, OrderOfAdditionDoesNotMatterAndSignComesLast)
{
    CTaobaoParamList a;
    a.addParam("v", "1.0");
    a.addParam("method", "taobao.items.search");
    a.addParam("app_key", "31875046");
    a.addParam("fields", "num_iid");
    CTaobaoParamList b;
    b.addParam("fields", "num_iid");
    b.addParam("app_key", "31875046");
    b.addParam("v", "1.0");
    b.addParam("method", "taobao.items.search");

    std::string query = CTaobaoConnector::signRequest(a);
    EXPECT_EQ(query, CTaobaoConnector::signRequest(b));
    const std::string source = kSecret + "app_key31875046fieldsnum_iidmethodtaobao.items.searchv1.0";
    EXPECT_EQ(query, "?app_key=31875046&fields=num_iid&method=taobao.items.search&v=1.0&sign="
                         + CTaobaoConnector::md5HexUpper(source));
}

TEST(RequestSigning, SignatureSourceCarriesTheSecretOnlyAsPrefix)
{
    CTaobaoParamList list;
    list.addParam("q", "x");
    std::string source = list.signatureSource();
    EXPECT_EQ(source, kSecret + "qx");
    EXPECT_EQ(source.find(kSecret, 1), std::string::npos);
}

TEST(RequestSigning, SortingIsBytewiseWithShorterNamesFirst)
{
    CTaobaoParamList list;
    list.addParam("page_no", "1");
    list.addParam("page", "2");
    list.addParam("Zeta", "3");
    list.addParam("location.state", "4");
    list.addParam("location", "5");
    list.sortByKey();
    EXPECT_TRUE(list.isSorted());
    EXPECT_EQ(list.buildQuery(), "?Zeta=3&location=5&location.state=4&page=2&page_no=1");
    list.addParam("a", "6");
    EXPECT_FALSE(list.isSorted());
}

TEST(RequestSigning, ChineseIsSignedRawAndSentPercentEncoded)
{
    CTaobaoParamList list;
    list.addParam("q", "中文");
    EXPECT_EQ(list.signatureSource(), kSecret + "q中文");
    EXPECT_EQ(list.buildQuery(), "?q=%E4%B8%AD%E6%96%87");
}

TEST(RequestSigning, ValuesThatWouldSplitTheQueryArriveWhole)
{
    CTaobaoParamList list;
    list.addParam("q", "A&B=C+D#E 100%");
    list.addParam("timestamp", "2026-12-09 10:11:12");
    EXPECT_EQ(list.signatureSource(), kSecret + "qA&B=C+D#E 100%timestamp2026-12-09 10:11:12");
    EXPECT_EQ(list.buildQuery(), "?q=A%26B%3DC%2BD%23E%20100%25&timestamp=2026-12-09%2010:11:12");
}

TEST(RequestSigning, WireEncodingKeepsSafePunctuation)
{
    EXPECT_EQ(CTaobaoParamList::percentEncode("a-b.c_d~e,f:g/h;i", ""), "a-b.c_d~e,f:g/h;i");
    EXPECT_EQ(CTaobaoParamList::percentEncode("<>{}|\\\"^`\x7F\x01", ""), "%3C%3E%7B%7D%7C%5C%22%5E%60%7F%01");
    EXPECT_EQ(CTaobaoParamList::percentEncode("/router/rest?x#y", "?#"), "/router/rest%3Fx%23y");
}

TEST(RequestSigning, TimestampHasTheLocalWallClockForm)
{
    EXPECT_TRUE(std::regex_match(makeTimestamp(), std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})")));
}
