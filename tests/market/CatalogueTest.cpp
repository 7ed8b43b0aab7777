// The catalogue: what the generator makes, that it makes it the same way
// every time, and what a CSV import loads.
#include "market/Catalogue.h"
#include "market/CatalogueDatabase.h"
#include "market/CsvImporter.h"
#include "market/MarketServer.h"
#include "tests/market/MarketClient.h"
#include "tests/support/LocalMarket.h"

#include <FreeImage.h>
#include <Poco/File.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/Path.h>
#include <Poco/Process.h>
#include <Poco/StreamCopier.h>
#include <Poco/TemporaryFile.h>
#include <Poco/URI.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

// A scratch data folder, removed when the test ends.
struct ScratchDir {
    std::string path = Poco::TemporaryFile::tempName();
    ScratchDir() { Poco::File(path).createDirectories(); }
    ~ScratchDir() { Poco::File(path).remove(true); }
};

market::Catalogue load(const std::string& dataDir)
{
    market::Catalogue catalogue;
    market::CatalogueDatabase(market::MarketServer::cataloguePath(dataDir)).loadInto(catalogue);
    return catalogue;
}

market::MarketOptions optionsFor(const std::string& dataDir, int products, uint32_t seed = 2026)
{
    market::MarketOptions options;
    options.port = 0;
    options.dataDir = dataDir;
    options.productCount = products;
    options.seed = seed;
    return options;
}

std::string fetch(const std::string& serviceUrl, const std::string& path)
{
    Poco::Net::HTTPClientSession session("127.0.0.1", Poco::URI(serviceUrl).getPort());
    Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, path, Poco::Net::HTTPMessage::HTTP_1_1);
    session.sendRequest(request);
    Poco::Net::HTTPResponse response;
    std::string body;
    Poco::StreamCopier::copyToString(session.receiveResponse(response), body);
    return response.getStatus() == Poco::Net::HTTPResponse::HTTP_OK ? body : std::string();
}

TEST(CatalogueTest, TheSameSeedGivesTheSameCatalogueAndAnotherSeedAnother)
{
    ScratchDir a, b, c;
    EXPECT_TRUE(market::MarketServer::prepareCatalogue(optionsFor(a.path, 300)));
    EXPECT_TRUE(market::MarketServer::prepareCatalogue(optionsFor(b.path, 300)));
    EXPECT_TRUE(market::MarketServer::prepareCatalogue(optionsFor(c.path, 300, 7)));
    market::Catalogue first = load(a.path), second = load(b.path), other = load(c.path);
    ASSERT_EQ(first.products().size(), 300u);
    ASSERT_EQ(second.products().size(), 300u);
    int differing = 0;
    for (size_t i = 0; i < first.products().size(); ++i) {
        EXPECT_EQ(first.products()[i].title, second.products()[i].title);
        EXPECT_EQ(first.products()[i].priceCents, second.products()[i].priceCents);
        EXPECT_EQ(first.products()[i].nick, second.products()[i].nick);
        differing += first.products()[i].title != other.products()[i].title ? 1 : 0;
    }
    EXPECT_GT(differing, 250);
}

TEST(CatalogueTest, AnExistingCatalogueIsKeptUnlessItsSizeOrSeedChanged)
{
    ScratchDir dir;
    EXPECT_TRUE(market::MarketServer::prepareCatalogue(optionsFor(dir.path, 100)));
    EXPECT_FALSE(market::MarketServer::prepareCatalogue(optionsFor(dir.path, 100)));
    EXPECT_TRUE(market::MarketServer::prepareCatalogue(optionsFor(dir.path, 120)));
    EXPECT_EQ(load(dir.path).products().size(), 120u);
    EXPECT_TRUE(market::MarketServer::prepareCatalogue(optionsFor(dir.path, 120, 99)));
}

TEST(CatalogueTest, TheGeneratedCatalogueLooksLikeARealMarket)
{
    const market::Catalogue& catalogue = LocalMarket::instance().server().catalogue();
    // Categories: a tree at least three deep, every product in a leaf.
    size_t deepest = 0;
    for (const market::Category& category : catalogue.categories()) {
        deepest = std::max(deepest, catalogue.path(category.cid).size());
        EXPECT_EQ(category.isParent, !catalogue.children(category.cid).empty()) << category.name;
        auto values = catalogue.propValues(category.cid);
        ASSERT_FALSE(values.empty()) << category.name;
        EXPECT_EQ(values.front().propName, "品牌") << "the brand comes first";
    }
    EXPECT_GE(deepest, 3u);

    std::set<int> bands, aspects;
    std::set<std::string> places, types;
    int mall = 0, noBulletin = 0;
    for (const market::Seller& seller : catalogue.sellers()) {
        bands.insert(seller.level);
        places.insert(seller.city);
        EXPECT_GE(seller.totalNum, 1);
        EXPECT_LE(seller.goodNum, seller.totalNum);
    }
    for (const market::Shop& shop : catalogue.shops())
        noBulletin += shop.bulletin.empty() ? 1 : 0;
    for (const market::Product& product : catalogue.products()) {
        EXPECT_FALSE(catalogue.category(product.cid)->isParent);
        EXPECT_NE(catalogue.seller(product.nick), nullptr);
        EXPECT_NE(product.title.find(catalogue.category(product.cid)->name), std::string::npos) << product.title;
        aspects.insert(product.aspect);
        types.insert(product.type);
        mall += product.isMall ? 1 : 0;
        EXPECT_GT(product.priceCents, 0);
    }
    EXPECT_EQ(bands.size(), 16u) << "every credit band from no heart to five crowns";
    EXPECT_EQ(places.size(), 57u) << "every place of the location list";
    EXPECT_EQ(aspects, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(types, (std::set<std::string>{"auction", "fixed"}));
    EXPECT_GT(mall, 0);
    EXPECT_GT(noBulletin, 0);
    EXPECT_LT(noBulletin, int(catalogue.shops().size()));
}

TEST(CatalogueTest, ACsvImportReplacesTheCatalogueWithTheOwnersProducts)
{
    ScratchDir data, pictures;
    std::string pictureFile = pictures.path + "/dress.png";
    FIBITMAP* bitmap = FreeImage_Allocate(300, 500, 24);
    FreeImage_Save(FIF_PNG, bitmap, pictureFile.c_str());
    FreeImage_Unload(bitmap);
    std::string csv = data.path + "/products.csv";
    std::ofstream(csv, std::ios::binary)
        << "\xef\xbb\xbftitle,price,category,nick,picture,volume,brand,state,city,mall,desc\r\n"
        << "\"红色 连衣裙, 夏季新款\",129.5,服装>女装>连衣裙,小美的店,dress.png,30,裂帛,浙江,杭州,1,\"<p>好看</p>\"\r\n"
        << "\"多行\n标题 T恤 \"\"经典\"\"\",59,服装>男装>T恤,老王,missing.jpg,5,,,,0,\r\n"
        << "没有价格,,服装>女装,小美的店,,,,,,,\r\n"
        << "偷看,10,服装>女装,小美的店,../../etc/passwd,,,,,,\r\n";
    market::CsvImporter::Report report =
        market::CsvImporter::importFile(optionsFor(data.path, 10), csv, pictures.path);
    EXPECT_EQ(report.products, 3);
    EXPECT_EQ(report.skippedRows, 1);
    EXPECT_NE(report.firstProblem.find("line 3"), std::string::npos) << report.firstProblem;

    // Imported catalogues are kept whatever size the market is asked for.
    EXPECT_FALSE(market::MarketServer::prepareCatalogue(optionsFor(data.path, 50000)));
    market::MarketServer server(optionsFor(data.path, 50000));
    server.start();
    const market::Catalogue& catalogue = server.catalogue();
    ASSERT_EQ(catalogue.products().size(), 3u);
    const market::Product& dress = catalogue.products()[0];
    EXPECT_EQ(dress.title, "红色 连衣裙, 夏季新款");
    EXPECT_EQ(dress.priceCents, 12950);
    EXPECT_TRUE(dress.isMall);
    EXPECT_EQ(catalogue.products()[1].title, "多行\n标题 T恤 \"经典\"");
    EXPECT_EQ(catalogue.products()[2].pictureFile, "") << "a path outside the pictures folder was followed";
    EXPECT_EQ(catalogue.seller("小美的店")->city, "杭州");
    EXPECT_EQ(catalogue.path(dress.cid).size(), 3u);
    EXPECT_EQ(catalogue.propValues(catalogue.path(dress.cid).front()).at(0).name, "裂帛");
    EXPECT_NE(catalogue.shop("老王"), nullptr);

    std::string picture = fetch(server.serviceUrl(), "/pic/item/" + std::to_string(dress.numIid) + ".jpg_b.jpg");
    FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(picture.data()), DWORD(picture.size()));
    FIBITMAP* scaled = FreeImage_LoadFromMemory(FIF_JPEG, memory, 0);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(scaled), 150u);
    EXPECT_EQ(FreeImage_GetHeight(scaled), 250u);
    FreeImage_Unload(scaled);
    FreeImage_CloseMemory(memory);
    EXPECT_GT(fetch(server.serviceUrl(), "/pic/item/" + std::to_string(catalogue.products()[1].numIid) + ".jpg").size(),
              1024u) << "a product whose picture is missing gets a drawn one";
    server.stop();
}

TEST(CatalogueTest, AnUnreadableOrEmptyCsvIsRefusedAndTheCatalogueKept)
{
    ScratchDir data;
    market::MarketServer::prepareCatalogue(optionsFor(data.path, 50));
    EXPECT_THROW(market::CsvImporter::importFile(optionsFor(data.path, 50), data.path + "/none.csv", ""),
                 std::runtime_error);
    std::string csv = data.path + "/bad.csv";
    std::ofstream(csv) << "title,price\nonly,a title\n";
    EXPECT_THROW(market::CsvImporter::importFile(optionsFor(data.path, 50), csv, ""), std::runtime_error);
    EXPECT_EQ(load(data.path).products().size(), 50u);
}

TEST(CatalogueTest, AFieldTooLongToKeepWholeRefusesTheImportWithItsLine)
{
    ScratchDir data;
    market::MarketServer::prepareCatalogue(optionsFor(data.path, 50));
    std::string csv = data.path + "/long.csv";
    std::ofstream(csv) << "title,price,category,nick,desc\n"
                       << "short,1,a>b,shop,fine\n"
                       << "long,2,a>b,shop," << std::string(200001, 'x') << "\n";
    try {
        market::CsvImporter::importFile(optionsFor(data.path, 50), csv, "");
        ADD_FAILURE() << "a field that would be cut was imported";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("\"desc\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(load(data.path).products().size(), 50u) << "the catalogue is kept";
}

}
