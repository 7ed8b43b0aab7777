// Every document the program reads (gateway answers, the login answer, the
// recommendation package, the list files) goes through one bounded parse.
#include "TempDir.h"

#include "taobao/CTaobaoFeedMap.h"
#include "taobao/CTaobaoLocalStore.h"
#include "taobao/TaobaoXml.h"

#include <tinyxml.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

class ElementNames : public TiXmlVisitor
{
public:
    bool VisitEnter(const TiXmlElement& element, const TiXmlAttribute*) override
    {
        names.insert(element.ValueStr());
        return true;
    }
    std::set<std::string> names;
};

std::string Nested(const char* open, int levels)
{
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += open;
    return text;
}

}

// A text that ends inside a UTF-8 sequence, with bytes after its terminator:
// the parser must stop at the end of the text, not read what lies beyond.
TEST(TaobaoXml, ATextEndingInsideACharacterIsNeverReadPastItsEnd)
{
    // Each lead byte announces 2, 3 or 4 bytes: the filler makes a parser
    // that steps over the terminator land on "<uid>".
    const std::pair<char, const char*> cases[] = {{'\xC3', ""}, {'\xE9', "-"}, {'\xF0', "--"}};
    for (const auto& [lead, filler] : cases) {
        const std::string text = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>x") + lead;
        std::string body = text + '\0' + filler + "<uid>777</uid></a>";
        body.resize(text.size());  // the bytes after the terminator stay in the string's buffer
        ElementNames visitor;
        TaobaoXml::walk(body, visitor);
        EXPECT_EQ(visitor.names.count("uid"), 0u) << "lead byte " << static_cast<int>(static_cast<unsigned char>(lead));
        EXPECT_EQ(visitor.names.count("a"), 1u);
    }
}

TEST(TaobaoXml, ADocumentNestedPastAnyRealOneIsRefusedUnparsed)
{
    ElementNames visitor;
    EXPECT_FALSE(TaobaoXml::walk(Nested("<a>", 100000), visitor));
    EXPECT_TRUE(visitor.names.empty());
    EXPECT_TRUE(TaobaoXml::walk(Nested("<a>", 200) + Nested("</a>", 200), visitor)) << "deep but real";

    TempDir dir;
    const std::string favorites = dir.file("favorite.xml");
    TempDir::write(favorites, "<items_list>" + Nested("<item_list>", 100000));
    CTaobaoFeedMap feeds;
    CTaobaoLocalStore::loadFeeds(feeds, favorites, CTaobaoLocalStore::Favorites);
    EXPECT_EQ(feeds.feedCount(), 0);
    size_t keptAside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        keptAside += entry.path().extension() == ".bad";
    EXPECT_EQ(keptAside, 1u) << "a list too deep to read is kept aside like any unreadable one";
}

TEST(TaobaoXml, NestingIsCountedAsTheParserWouldNestElements)
{
    EXPECT_EQ(TaobaoXml::nestingDepth("<a><b/><c x='>' y=\"<d>\"><e></e></c></a>"), 3u);
    EXPECT_EQ(TaobaoXml::nestingDepth("<?xml version='1.0'?><!-- <x><y> --><a><![CDATA[<b><c>]]></a>"), 1u);
    EXPECT_EQ(TaobaoXml::nestingDepth("<a>1 < 2 and 3 > 2</a>"), 1u) << "a < that starts no name opens nothing";
    EXPECT_EQ(TaobaoXml::nestingDepth("<a><b"), 2u) << "an unfinished tag still opens an element";
    EXPECT_EQ(TaobaoXml::nestingDepth(Nested("<\xE5\x95\x86>", 5)), 5u) << "names in Chinese";
    EXPECT_EQ(TaobaoXml::nestingDepth(Nested("<a>", 100000)), TaobaoXml::kMaxDepth + 1) << "counting stops early";
}
