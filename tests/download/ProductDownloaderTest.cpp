// The product downloader against the local market: what a browse's wanted
// positions turn into, how detail, shop and seller requests are served, and
// how work of an earlier search is dropped.
#include "tests/download/Eventually.h"
#include "tests/download/PipelineHarness.h"
#include "tests/render/RenderTargets.h"
#include "tests/support/LocalMarket.h"

#include "market/Catalogue.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/CodePage.h"
#include "render/CHeavyCostRenderMsgQueue.h"
#include "render/CRenderMsgQueue.h"
#include "render/CRenderMsg_ShowProductSnapshot.h"
#include "scene/CProductWall.h"
#include "taobao/CTaobaoConnector.h"
#include "taobao/CTaobaoDataStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <chrono>
#include <thread>

namespace {

class ProductDownloaderTest : public ::testing::Test
{
protected:
    void SetUp() override { LocalMarket::instance().reset(); }
    void TearDown() override
    {
        LocalMarket::instance().reset();
        CQX_GlobalVariable::getInstance().SetCurrentModeId(8);
    }

    static CTaobaoDataStore& Store() { return CTaobaoDataStore::getInstance(); }
    static int64_t GatewayRequests() { return LocalMarket::instance().server().gatewayRequestCount(); }
    static int64_t PictureRequests() { return LocalMarket::instance().server().pictureRequestCount(); }
    static const market::Catalogue& Catalogue() { return LocalMarket::instance().server().catalogue(); }
    static void InjectGatewayFault(market::Fault fault, int latencyMs = 0)
    {
        market::FaultSettings settings;
        settings.fault = fault;
        settings.scope = market::FaultScope::Gateway;
        settings.latencyMs = latencyMs;
        LocalMarket::instance().server().setFaults(settings);
    }
    // The order in which the details thread served products: the viewed-today list.
    static std::vector<std::string> ViewedInOrder()
    {
        std::vector<CTaobaoProductInfoDetails> feeds;
        Store().history.copyAllFeeds(feeds);
        std::vector<std::string> ids;
        for (const auto& feed : feeds)
            ids.push_back(feed.num_iid);
        return ids;
    }
    static std::string NumIidAt(int position)
    {
        CTaobaoProductInfo product;
        EXPECT_TRUE(Store().products.copyProduct(position, product)) << position;
        return product.num_iid;
    }

    // A new search with its first page fetched, and the picture request of
    // its first product as the image threads would finish it.
    CImageRequest FirstPictureOfANewSearch(const std::string& localPath)
    {
        m_pipeline.Search("", {});
        const int searchId = CQX_GlobalVariable::getInstance().GetSearchID();
        EXPECT_TRUE(CTaobaoConnector::fetchProductInfo(0, searchId));
        CImageRequest request;
        request.searchId = searchId;
        request.localPath = localPath;
        return request;
    }

    PipelineHarness m_pipeline;
};

TEST_F(ProductDownloaderTest, ASearchsPositionsBecomeProductsPicturesAndCardsOnTheWall)
{
    m_pipeline.Search("", {0, 1, 2, 3, 4, 5, 6, 7});
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return m_pipeline.WallShows(0, 8); }));
    for (int position = 0; position < 8; ++position) {
        CTaobaoProductInfo product;
        ASSERT_TRUE(Store().products.copyProduct(position, product));
        const std::string path = CProductWall::getInstance().GetCardPicturePath(position);
        std::string cached;
        ASSERT_TRUE(Store().pictures.copy(product.pic_url, cached)) << "the picture cache knows the file";
        EXPECT_EQ(cached, path);
        EXPECT_EQ(path.rfind("../datafiles/img/", 0), 0u) << path;
        EXPECT_GT(std::filesystem::file_size(path), 1024u);
    }
    EXPECT_FALSE(CProductWall::getInstance().HasCard(8)) << "only what was asked for";
}

TEST_F(ProductDownloaderTest, PositionsOfOnePageCostOnePageRequest)
{
    CQX_GlobalVariable::getInstance().SetCurrentModeId(8);  // no category loading
    m_pipeline.Search("", {});
    m_pipeline.ViewFrom(160);
    const int64_t before = GatewayRequests();
    m_pipeline.Downloader().downloadProducts({150, 160, 199});
    ASSERT_TRUE(Eventually([&] { return Store().products.contains(199); }));
    EXPECT_EQ(GatewayRequests(), before + 1);

    m_pipeline.Downloader().downloadProducts({200});
    ASSERT_TRUE(Eventually([&] { return Store().products.contains(200); }));
    EXPECT_EQ(GatewayRequests(), before + 2) << "the next page is a second request";
}

TEST_F(ProductDownloaderTest, AProductWithoutAPictureGetsThePlaceholderWithoutARequest)
{
    m_pipeline.Search("", {});
    ASSERT_TRUE(Eventually([&] { return m_pipeline.Downloader().PendingProducts() == 0; }));
    CTaobaoProductInfo bare;
    bare.num_iid = "42";
    bare.title = "no picture";
    bare.price = "1.00";
    bare.pic_url = kNoPicturePath;
    Store().connectInfo.markRequested(4000);
    Store().products.insertProduct(4001, std::make_unique<CTaobaoProductInfo>(bare));
    const int64_t pictures = PictureRequests();
    m_pipeline.ViewFrom(4000);
    m_pipeline.Downloader().downloadProducts({4001});
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return CProductWall::getInstance().HasCard(4001); }));
    EXPECT_EQ(CProductWall::getInstance().GetCardPicturePath(4001), kNoPicturePath);
    EXPECT_EQ(PictureRequests(), pictures);
}

TEST_F(ProductDownloaderTest, APictureFinishedAfterANewSearchIsNotPosted)
{
    const CImageRequest request = FirstPictureOfANewSearch("../datafiles/img/late.jpg");
    CTaobaoProductInfo product;
    ASSERT_TRUE(Store().products.copyProduct(0, product));
    CQX_GlobalVariable::getInstance().SearchIDChange();
    const size_t queued = CHeavyCostRenderMsgQueue::getInstance().Size();
    CImageRequest late = request;
    EXPECT_EQ(CTaobaoDownloader::PostDownloadImage(late), 0);
    EXPECT_EQ(CHeavyCostRenderMsgQueue::getInstance().Size(), queued);
    std::string recorded;
    EXPECT_FALSE(Store().pictures.copy(product.pic_url, recorded));
}

TEST_F(ProductDownloaderTest, AFinishedPictureBecomesACardOfTheProductInTheSystemCodePage)
{
    CImageRequest request = FirstPictureOfANewSearch("../datafiles/img/0.jpg");
    CTaobaoProductInfo product;
    ASSERT_TRUE(Store().products.copyProduct(0, product));
    product.type = "auction";
    Store().products.clear();
    Store().products.insertProduct(0, std::make_unique<CTaobaoProductInfo>(product));
    m_pipeline.Stop();  // the worker leaves the card in its queue
    EXPECT_EQ(CTaobaoDownloader::PostDownloadImage(request), 1);

    auto msg = CHeavyCostRenderMsgQueue::getInstance().SelectNearest({0, 8, 4});
    auto* card = dynamic_cast<CRenderMsg_ShowProductSnapshot*>(msg.get());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->GetModeId(), PipelineHarness::kSearchModeId);
    EXPECT_EQ(card->GetCard().num_iid, product.num_iid);
    EXPECT_EQ(card->GetCard().title, product.title);
    EXPECT_EQ(card->GetCard().picturePath, "../datafiles/img/0.jpg");
    EXPECT_EQ(card->GetCard().saleType, CodePage::Utf8ToGbk("拍卖"));
    std::string recorded;
    ASSERT_TRUE(Store().pictures.copy(product.pic_url, recorded));
    EXPECT_EQ(recorded, "../datafiles/img/0.jpg") << "the picture is known by its URL without the size suffix";

    product.type = "fixed";
    Store().products.clear();
    Store().products.insertProduct(0, std::make_unique<CTaobaoProductInfo>(product));
    CTaobaoDownloader::PostDownloadImage(request);
    msg = CHeavyCostRenderMsgQueue::getInstance().SelectNearest({0, 8, 4});
    card = dynamic_cast<CRenderMsg_ShowProductSnapshot*>(msg.get());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->GetCard().saleType, CodePage::Utf8ToGbk("一口价"));
}

TEST_F(ProductDownloaderTest, ACardMadeInTheFavouriteShopModeIsNeverShown)
{
    CImageRequest request = FirstPictureOfANewSearch(kNoPicturePath);
    const int live = CRenderMsg::LiveCount();
    CQX_GlobalVariable::getInstance().SetCurrentModeId(4);
    EXPECT_EQ(CTaobaoDownloader::PostDownloadImage(request), 1);
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return CRenderMsg::LiveCount() == live; }));
    EXPECT_FALSE(CProductWall::getInstance().HasCard(0));
}

TEST_F(ProductDownloaderTest, TheLastOfSeveralDetailRequestsIsServedFirst)
{
    m_pipeline.Search("", {});
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, CQX_GlobalVariable::getInstance().GetSearchID()));
    CQX_GlobalVariable::getInstance().SetCurrentModeId(8);
    InjectGatewayFault(market::Fault::None, 150);
    m_pipeline.Downloader().downloadProductDetails(0);
    ASSERT_TRUE(Eventually([&] { return m_pipeline.Downloader().PendingDetails() == 0; }));
    for (int position : {1, 2, 3})
        m_pipeline.Downloader().downloadProductDetails(position);
    ASSERT_TRUE(Eventually([&] { return ViewedInOrder().size() == 4; }));
    EXPECT_EQ(ViewedInOrder(), (std::vector<std::string>{NumIidAt(0), NumIidAt(3), NumIidAt(2), NumIidAt(1)}));
}

TEST_F(ProductDownloaderTest, AFailedPageFetchKeepsTheDetailQueueUntilTheNextRequest)
{
    m_pipeline.Search("", {});
    CQX_GlobalVariable::getInstance().SetCurrentModeId(8);
    InjectGatewayFault(market::Fault::ErrorAnswer, 100);
    const int64_t before = GatewayRequests();
    m_pipeline.Downloader().downloadProductDetails(5);
    ASSERT_TRUE(Eventually([&] { return m_pipeline.Downloader().PendingDetails() == 0; }));
    // Asked for while the first fetch fails: the wake-up they leave lets the
    // thread try the newest, which fails too; then the queue waits.
    m_pipeline.Downloader().downloadProductDetails(6);
    m_pipeline.Downloader().downloadProductDetails(7);
    // Each fetch is tried three times.
    ASSERT_TRUE(Eventually([&] { return GatewayRequests() >= before + 6; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(m_pipeline.Downloader().PendingDetails(), 1u) << "the queue waits for the next request";
    EXPECT_EQ(GatewayRequests(), before + 6);

    LocalMarket::instance().reset();
    m_pipeline.Downloader().downloadProductDetails(8);
    ASSERT_TRUE(Eventually([&] { return ViewedInOrder().size() == 2; }));
    EXPECT_EQ(ViewedInOrder(), (std::vector<std::string>{NumIidAt(8), NumIidAt(6)}));
}

TEST_F(ProductDownloaderTest, DetailsReachTheDetailWindowWithTheSellersCredit)
{
    TestDetailWindow window;
    m_pipeline.Search("", {});
    CQX_GlobalVariable::getInstance().SetCurrentModeId(8);
    m_pipeline.Downloader().downloadProductDetails(9);
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return !window.sellerShown.empty() && !window.urlPositions.empty(); }));
    EXPECT_EQ(window.shown, std::vector<int>{9});
    EXPECT_EQ(window.sellerShown, std::vector<int>{9});
    EXPECT_FALSE(window.lastDetails.credit.empty());
    EXPECT_EQ(window.urlPositions, std::vector<int>{9});
    EXPECT_GT(CQX_GlobalVariable::getInstance().GetDetailsViewed(), 0u);
}

TEST_F(ProductDownloaderTest, ShopsAndSellersComeFromTheCacheAtOnceOrFromTheMarket)
{
    TestLeftPanel panel;
    TestSearchBar searchBar;
    // A shop browse asks with the nick its search condition keeps, in the system code page.
    const market::Shop& shop = Catalogue().shops()[3];
    const std::string gbkNick = CodePage::Utf8ToGbk(shop.nick);
    ASSERT_NE(gbkNick, shop.nick);
    const int64_t before = GatewayRequests();
    m_pipeline.Downloader().requestShopInfo(gbkNick);
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return !searchBar.nicks.empty(); }));
    EXPECT_EQ(searchBar.nicks.back(), shop.nick);

    m_pipeline.Downloader().requestShopInfo(gbkNick);
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 1u) << "the cached shop is posted at once";
    m_pipeline.ProcessOneMessage();
    EXPECT_EQ(searchBar.nicks.size(), 2u);

    panel.sellerNick = gbkNick;
    m_pipeline.Downloader().requestUserInfo(gbkNick);
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return panel.sellerRefreshes == 1; }));
    EXPECT_EQ(panel.credit, std::to_string(Catalogue().seller(shop.nick)->totalNum));
    m_pipeline.Downloader().requestUserInfo(gbkNick);
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 1u);
    m_pipeline.ProcessOneMessage();
    EXPECT_EQ(panel.sellerRefreshes, 2);
    EXPECT_EQ(GatewayRequests(), before + 2) << "one shop and one seller request reached the market";
}

TEST_F(ProductDownloaderTest, OnlyTheKeywordSearchLoadsCategoriesAndProperties)
{
    TestLeftPanel panel;
    CQX_GlobalVariable::getInstance().SetCurrentModeId(0);
    m_pipeline.Search("", {0});
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return panel.categoryBuilds == 1; }));
    std::vector<const CTaobaoCategory*> records;
    std::vector<std::string> counts;
    EXPECT_TRUE(Store().categories.getChildren("", records, counts));

    // Viewed today: the page is fetched, and nothing else is asked for.
    CQX_GlobalVariable::getInstance().SetCurrentModeId(3);
    const int64_t before = GatewayRequests();
    m_pipeline.Search("", {0});
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return CProductWall::getInstance().HasCard(0); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    while (m_pipeline.ProcessOneMessage()) {
    }
    EXPECT_EQ(GatewayRequests(), before + 1);
    EXPECT_EQ(panel.categoryBuilds, 1);
}

TEST_F(ProductDownloaderTest, ANewListOfPositionsReplacesTheOldOneAndAnEmptyListEmptiesBothQueues)
{
    CQX_GlobalVariable::getInstance().SetCurrentModeId(8);
    m_pipeline.Search("", {});
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, CQX_GlobalVariable::getInstance().GetSearchID()));
    // The picture threads are held, so the pictures of the page wait in their queue.
    m_pipeline.Images().SetActiveThreadCount(0);
    std::vector<int> screenAndAhead;
    for (int position = 0; position < 40; ++position)
        screenAndAhead.push_back(position);
    m_pipeline.Downloader().downloadProducts(screenAndAhead);
    ASSERT_TRUE(Eventually([&] { return m_pipeline.Images().PendingRequests() >= 10; }));
    m_pipeline.Downloader().downloadProducts({5, 6});
    EXPECT_LE(m_pipeline.Downloader().PendingProducts(), 2u);
    // The product the downloader had in hand when the list changed is served
    // still; then it rests.
    ASSERT_TRUE(Eventually([&] { return m_pipeline.Downloader().PendingProducts() == 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_LE(m_pipeline.Images().PendingRequests(), 3u) << "the pictures of the old list were dropped";
    m_pipeline.Downloader().downloadProducts({});
    EXPECT_EQ(m_pipeline.Downloader().PendingProducts(), 0u);
    EXPECT_EQ(m_pipeline.Images().PendingRequests(), 0u);
    m_pipeline.Images().SetActiveThreadCount(2);
}

TEST_F(ProductDownloaderTest, AFetchingPictureShowsItsPlaceholderFirst)
{
    m_pipeline.Search("", {});
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, CQX_GlobalVariable::getInstance().GetSearchID()));
    market::FaultSettings slowPictures;
    slowPictures.scope = market::FaultScope::Pictures;
    slowPictures.latencyMs = 1500;
    LocalMarket::instance().server().setFaults(slowPictures);
    m_pipeline.Downloader().downloadProducts({3});
    CProductWall& wall = CProductWall::getInstance();
    ASSERT_TRUE(m_pipeline.ProcessUntil([&] { return wall.SlotCount() == 1; }, std::chrono::milliseconds(1000)));
    EXPECT_FALSE(wall.HasCard(3)) << "the slot holds the placeholder while the picture is on its way";
    EXPECT_TRUE(m_pipeline.ProcessUntil([&] { return wall.HasCard(3); }));
}

TEST_F(ProductDownloaderTest, APreparedCardTheWallMovedAwayFromIsMadeAgainWhenTheWallComesBack)
{
    CQX_GlobalVariable::getInstance().SetCurrentModeId(6);  // cards, but no category loading
    m_pipeline.Search("", {});
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, CQX_GlobalVariable::getInstance().GetSearchID()));
    m_pipeline.ViewFrom(0);
    m_pipeline.Downloader().downloadProducts({3});
    // Placeholder and prepared card wait for the render thread.
    ASSERT_TRUE(Eventually([] { return CRenderMsgQueue::getInstance().Size() == 2; }));
    m_pipeline.ViewFrom(500);
    CRenderMsgQueue::getInstance().DropUnplaceable();
    EXPECT_EQ(CRenderMsgQueue::getInstance().Size(), 0u) << "cards far from the wall let go of their textures";

    m_pipeline.ViewFrom(0);
    m_pipeline.Downloader().downloadProducts({3});
    EXPECT_TRUE(m_pipeline.ProcessUntil([] { return CProductWall::getInstance().HasCard(3); }, std::chrono::seconds(5)));
}

}
