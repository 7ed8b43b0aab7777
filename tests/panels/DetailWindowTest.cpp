#include "common/CEGuiCompat.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CTopPanel.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CQX_TimerList.h"
#include "panels/CDetailWindow.h"
#include "panels/CLeftPanel.h"
#include "render/CRenderMsg_ShowProductDetailsSnapshot.h"
#include "render/CRenderMsg_ShowProductDetail_Shop_Completed.h"
#include "render/CRenderMsg_ShowProductDetail_TAOBAOKEProductURL.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/TaobaoText.h"
#include "platform/HtmlResourceFetcher.h"
#include "render/CRenderMsgQueue.h"
#include "taobao/CTaobaoConnector.h"
#include "tests/support/HeadlessGui.h"
#include "tests/support/LocalMarket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>

namespace {

std::string Ansi(const std::string& utf8)
{
    std::string text = utf8;
    UTF8ToAnsi(text);
    return text;
}

std::string Utf8(const std::string& ansi)
{
    std::string text = ansi;
    AnsiToUTF8(text);
    return text;
}

std::string Text(CDetailWindow::WidgetId id)
{
    return CEGuiCompat::FromGui(CDetailWindow::getInstance()->GetWidget(id)->getText());
}

bool Visible(CDetailWindow::WidgetId id)
{
    return CDetailWindow::getInstance()->GetWidget(id)->isVisible();
}

std::string Property(CDetailWindow::WidgetId id, const char* name)
{
    return CEGuiCompat::FromGui(CDetailWindow::getInstance()->GetWidget(id)->getProperty(name));
}

CTaobaoProductInfoDetails Details(const std::string& numIid)
{
    CTaobaoProductInfoDetails details;
    details.num_iid = numIid;
    details.title = Ansi("宝贝" + numIid);
    details.price = "12.50";
    details.nick = Ansi("卖家" + numIid);
    details.num = "7";
    details.state = Ansi("浙江");
    details.city = Ansi("杭州");
    details.express_fee = "10.00";
    details.delist_time = "2026-12-31 23:59:59";
    details.credit = "120";
    details.reputation = 0.9876;
    details.detail_url = "http://127.0.0.1:9/item.htm?id=" + numIid;
    details.volume = "33";
    return details;
}

// Runs the render thread's message processing until the condition holds.
bool ProcessMessagesUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        CRenderMsgQueue::getInstance().ProcessNextMsg();
    return done();
}

class DetailWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("QUOBRIX_BROWSER", "/bin/true", 1);
        LocalMarket::instance();
        HeadlessGui::LoadMainLayout();
        // Clicks in a row on one button are single clicks here, not double clicks.
        HeadlessGui::Context().setMouseButtonMultiClickTimeout(1e-9);
        CQX_GlobalVariable::getInstance().SetCurrentModeId(0);
        CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
        CQX_SearchCondition::getInstance().affiliate = false;
        store.products.clear();
        for (int position : {1, 2}) {
            auto product = std::make_unique<CTaobaoProductInfo>(Details(std::to_string(100 + position)));
            store.products.insertProduct(position, std::move(product));
        }
        CDetailWindow::CreateDetailWindow("Detail Information");
        window = CDetailWindow::getInstance();
    }

    void TearDown() override { CDetailWindow::Destroy(); }

    CDetailWindow* window = nullptr;
};

}

TEST_F(DetailWindowTest, CreatedHiddenAndEmptyOverTheMainSheet)
{
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->GetRoot()->isVisible());
    EXPECT_EQ(window->GetRoot()->getParent(), HeadlessGui::Context().getRootWindow());
    EXPECT_EQ(window->GetCurrentPosition(), -1);
    EXPECT_EQ(Text(CDetailWindow::StockText), "库存：0 件");
    EXPECT_EQ(Text(CDetailWindow::ExpressFeeText), "快递： 元");
    EXPECT_EQ(Text(CDetailWindow::LocationText), "所在地：");
    EXPECT_EQ(Text(CDetailWindow::GoodRateText), "好评：");
    EXPECT_FALSE(Visible(CDetailWindow::OpenPageButton));
    EXPECT_FALSE(Visible(CDetailWindow::FavoriteToggle));
    EXPECT_GT(window->GetBrowserHost().Width(), 400);
    EXPECT_GT(window->GetBrowserHost().Height(), 200);
}

TEST_F(DetailWindowTest, DetailsOfAnEarlierClickAreDroppedForTheNewerProduct)
{
    window->OpenProduct(1);
    EXPECT_TRUE(window->GetRoot()->isVisible());
    EXPECT_EQ(Text(CDetailWindow::TitleText), "宝贝101");
    window->OpenProduct(2);
    EXPECT_EQ(Text(CDetailWindow::TitleText), "宝贝102");

    const int searchId = CQX_GlobalVariable::getInstance().GetSearchID();
    CRenderMsg_ShowProductDetailsSnapshot(1, searchId, Details("101")).Process();
    EXPECT_EQ(Text(CDetailWindow::TitleText), "宝贝102");
    EXPECT_EQ(Text(CDetailWindow::SellerText), "卖家：");

    CRenderMsg_ShowProductDetailsSnapshot(2, searchId, Details("102")).Process();
    EXPECT_EQ(Text(CDetailWindow::SellerText), "卖家：卖家102");
    EXPECT_EQ(Text(CDetailWindow::PriceText), "价格：12.50 元");
    EXPECT_EQ(Text(CDetailWindow::StockText), "库存：7 件");
    EXPECT_EQ(Text(CDetailWindow::ExpressFeeText), "快递：10.00 元");
    EXPECT_EQ(Text(CDetailWindow::LocationText), "所在地：浙江杭州");
    EXPECT_EQ(Text(CDetailWindow::CreditText), "信用：120");
    EXPECT_EQ(Text(CDetailWindow::GoodRateText), "好评：98.76%");
    EXPECT_EQ(Text(CDetailWindow::VolumeText), "30天出售：33 件");
    EXPECT_TRUE(Visible(CDetailWindow::OpenPageButton));
    EXPECT_TRUE(Visible(CDetailWindow::EnterShopButton));

    CRenderMsg_ShowProductDetail_TAOBAOKEProductURL(1, searchId, "http://wrong.example/x").Process();
    EXPECT_EQ(window->GetDetailURL(), Details("102").detail_url);
    CRenderMsg_ShowProductDetail_TAOBAOKEProductURL(2, searchId, "abc").Process();
    EXPECT_FALSE(Visible(CDetailWindow::OpenPageButton));
    CRenderMsg_ShowProductDetail_TAOBAOKEProductURL(2, searchId, "http://a.example/click").Process();
    EXPECT_TRUE(Visible(CDetailWindow::OpenPageButton));
    EXPECT_EQ(window->GetDetailURL(), "http://a.example/click");
}

TEST_F(DetailWindowTest, LocationRateAndCreditRules)
{
    EXPECT_EQ(CDetailWindow::LocationOf(Ansi("北京"), Ansi("北京")), Ansi("北京"));
    EXPECT_EQ(CDetailWindow::LocationOf(Ansi("上海"), Ansi("上海市")), Ansi("上海上海市"));
    EXPECT_EQ(CDetailWindow::LocationOf(Ansi("浙江"), Ansi("杭州")), Ansi("浙江杭州"));
    EXPECT_EQ(CDetailWindow::LocationOf("", ""), "");
    EXPECT_EQ(CDetailWindow::GoodRateLabel(0), "好评：");
    EXPECT_EQ(CDetailWindow::GoodRateLabel(98.76), "好评：98.76%");

    CEGUI::Window* image = window->GetWidget(CDetailWindow::CreditImage);
    const std::pair<const char*, const char*> bands[] = {
        {"4", "credit/RedStar1"},     {"10", "credit/RedStar1"},     {"11", "credit/RedStar2"},
        {"250", "credit/RedStar5"},   {"251", "credit/RedDiam1"},    {"10000", "credit/RedDiam5"},
        {"10001", "credit/RedCrown1"}, {"200000", "credit/RedCrown4"}, {"200001", "credit/RedCrown5"},
    };
    for (const auto& band : bands) {
        CDetailWindow::SetCreditImage(image, band.first);
        EXPECT_TRUE(image->isVisible()) << band.first;
        EXPECT_EQ(CEGuiCompat::FromGui(image->getProperty("Image")), band.second) << band.first;
    }
    for (const char* none : {"3", "0", "", "many", "-500"}) {
        CDetailWindow::SetCreditImage(image, "4");
        CDetailWindow::SetCreditImage(image, none);
        EXPECT_FALSE(image->isVisible()) << none;
    }

    window->OpenProduct(1);
    CTaobaoProductInfoDetails details = Details("101");
    details.state = details.city = Ansi("北京");
    details.reputation = 0;
    details.credit = "3";
    window->ShowDetails(1, details);
    EXPECT_EQ(Text(CDetailWindow::LocationText), "所在地：北京");
    EXPECT_EQ(Text(CDetailWindow::GoodRateText), "好评：");
    EXPECT_FALSE(Visible(CDetailWindow::CreditImage));
    details.credit = "4";
    window->ShowSellerInfo(1, details);
    EXPECT_TRUE(Visible(CDetailWindow::CreditImage));
    EXPECT_EQ(Property(CDetailWindow::CreditImage, "Image"), "credit/RedStar1");
}

TEST_F(DetailWindowTest, FavouriteToggleLooksFollowTheFavourites)
{
    CTaobaoFeedMap& favorites = CTaobaoDataStore::getInstance().favorites;
    favorites.removeFeed("101");
    favorites.removeFeed("102");

    window->OpenProduct(1);
    EXPECT_FALSE(Visible(CDetailWindow::FavoriteToggle));
    CRenderMsg_ShowProductDetail_Shop_Completed(1, CQX_GlobalVariable::getInstance().GetSearchID(), Details("101"))
        .Process();
    EXPECT_TRUE(Visible(CDetailWindow::FavoriteToggle));
    EXPECT_EQ(Property(CDetailWindow::FavoriteToggle, "TooltipText"), "收藏此商品");
    EXPECT_EQ(Property(CDetailWindow::FavoriteToggle, "NormalImage"), "FirstPageMore/Start");

    const uint32_t added = CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActFavoriteProductAdded);
    HeadlessGui::Click(window->GetWidget(CDetailWindow::FavoriteToggle));
    EXPECT_TRUE(favorites.containsFeed("101"));
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActFavoriteProductAdded),
              added + 1);
    EXPECT_EQ(Property(CDetailWindow::FavoriteToggle, "TooltipText"), "取消收藏此商品");
    EXPECT_EQ(Property(CDetailWindow::FavoriteToggle, "NormalImage"), "FirstPageMore/StartHeight");
    EXPECT_EQ(Property(CDetailWindow::FavoriteToggle, "PushedImage"), "FirstPageMore/Start");

    window->OpenProduct(2);
    window->OpenProduct(1);
    EXPECT_TRUE(Visible(CDetailWindow::FavoriteToggle));
    EXPECT_EQ(Property(CDetailWindow::FavoriteToggle, "TooltipText"), "取消收藏此商品");

    HeadlessGui::Click(window->GetWidget(CDetailWindow::FavoriteToggle));
    EXPECT_FALSE(favorites.containsFeed("101"));
    EXPECT_EQ(Property(CDetailWindow::FavoriteToggle, "HoverImage"), "FirstPageMore/StartHover");
}

TEST_F(DetailWindowTest, EnterShopIsNeverOfferedInTheShopMode)
{
    CQX_GlobalVariable::getInstance().SetCurrentModeId(6);
    window->OpenProduct(1);
    window->ShowDetails(1, Details("101"));
    EXPECT_FALSE(Visible(CDetailWindow::EnterShopButton));
    window->ShowSellerInfo(1, Details("101"));
    EXPECT_FALSE(Visible(CDetailWindow::EnterShopButton));

    CQX_GlobalVariable::getInstance().SetCurrentModeId(0);
    CTaobaoProductInfoDetails noCredit = Details("101");
    noCredit.credit.clear();
    window->ShowDetails(1, noCredit);
    EXPECT_FALSE(Visible(CDetailWindow::EnterShopButton));
    window->ShowSellerInfo(1, Details("101"));
    EXPECT_TRUE(Visible(CDetailWindow::EnterShopButton));
}

TEST_F(DetailWindowTest, StatusTextsSetOneSecondApartClearThreeSecondsAfterTheLast)
{
    CQX_TimerList& timers = CQX_TimerList::getInstance();
    timers.SetClock(50000);
    window->SetStatusText("第一条");
    timers.SetClock(51000);
    window->SetStatusText("第二条");
    timers.SetClock(53000);
    timers.FireDueTimers();
    EXPECT_EQ(Text(CDetailWindow::StatusText), "第二条");
    timers.SetClock(53999);
    timers.FireDueTimers();
    EXPECT_EQ(Text(CDetailWindow::StatusText), "第二条");
    timers.SetClock(54000);
    timers.FireDueTimers();
    EXPECT_EQ(Text(CDetailWindow::StatusText), "");
}

TEST_F(DetailWindowTest, OpeningThePageNeedsAnAddressOfMoreThanTenCharacters)
{
    auto& globals = CQX_GlobalVariable::getInstance();
    window->OpenProduct(1);
    window->SetDetailURL(1, "http://a/b");
    const uint32_t opened = globals.GetPagesOpened();
    HeadlessGui::Click(window->GetWidget(CDetailWindow::OpenPageButton));
    EXPECT_EQ(globals.GetPagesOpened(), opened);
    EXPECT_EQ(Text(CDetailWindow::StatusText), "");

    window->SetDetailURL(1, "http://a/bc");
    HeadlessGui::Click(window->GetWidget(CDetailWindow::OpenPageButton));
    EXPECT_EQ(globals.GetPagesOpened(), opened + 1);
    EXPECT_EQ(Text(CDetailWindow::StatusText), "浏览器加载中，请稍候");
}

TEST_F(DetailWindowTest, SalesOfThirtyDaysAreLeftOutOfAffiliateSearches)
{
    window->OpenProduct(1);
    CQX_SearchCondition::getInstance().affiliate = true;
    window->ShowDetails(1, Details("101"));
    EXPECT_EQ(Text(CDetailWindow::VolumeText), "");
    CQX_GlobalVariable::getInstance().SetCurrentModeId(2);
    window->ShowDetails(1, Details("101"));
    EXPECT_EQ(Text(CDetailWindow::VolumeText), "30天出售：33 件");
    CTaobaoProductInfoDetails noVolume = Details("101");
    noVolume.volume.clear();
    window->ShowDetails(1, noVolume);
    EXPECT_EQ(Text(CDetailWindow::VolumeText), "");
}

TEST_F(DetailWindowTest, ThePageIsBuiltInItsClassicForm)
{
    const std::string page = CDetailWindow::BuildPage("http://p/1.jpg", "2026-12-31", Ansi("<p>描述</p>"));
    EXPECT_EQ(page, Ansi("<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"
                         "<div style=\"text-align:center\"><img src='http://p/1.jpg_310x310.jpg'style='margin:10;"
                         "padding:0'/><br><b>结束时间：2026-12-31</b><br><br></div><p>描述</p></html>"));
    EXPECT_EQ(CDetailWindow::BuildPage("", "t", "d").find("<img"), std::string::npos);
    EXPECT_EQ(CDetailWindow::BuildPage("http://p/1.jpg", "t", ""), "");

    const std::string longUrl = "http://p/" + std::string(1100, 'a') + ".jpg";
    const std::string withoutPicture = CDetailWindow::BuildPage(longUrl, "t", "d");
    EXPECT_EQ(withoutPicture.find("<img"), std::string::npos);
    EXPECT_NE(withoutPicture.find("d</html>"), std::string::npos);
    EXPECT_NE(CDetailWindow::BuildPage("http://p/a'onload='x.jpg", "t", "d").find("a%27onload=%27x.jpg_310x310"),
              std::string::npos);
}

TEST_F(DetailWindowTest, ADescriptionShowsAsAPageAndClosingRemovesIt)
{
    CBrowserHost& host = window->GetBrowserHost();
    CEGUI::Window* area = window->GetWidget(CDetailWindow::HtmlArea);
    const std::string idle = CEGuiCompat::FromGui(area->getProperty("Image"));
    window->OpenProduct(1);
    CTaobaoProductInfoDetails details = Details("101");
    details.desc = Ansi("<h2>宝贝描述</h2><table border=1><tr><td>尺寸</td><td>大</td></tr></table>");
    window->ShowDetails(1, details);
    ASSERT_TRUE(host.HasBrowserWindow());
    EXPECT_TRUE(host.IsShown());
    ASSERT_TRUE(host.WaitForPage(10000));
    EXPECT_EQ(CEGuiCompat::FromGui(area->getProperty("Image")), CBrowserHost::kPageImageName);

    details.desc.clear();
    window->ShowDetails(1, details);
    EXPECT_FALSE(host.HasBrowserWindow());
    EXPECT_FALSE(host.IsShown());
    EXPECT_EQ(CEGuiCompat::FromGui(area->getProperty("Image")), idle);

    details.desc = "<p>again</p>";
    window->ShowDetails(1, details);
    EXPECT_TRUE(host.HasBrowserWindow());
    HeadlessGui::Context().injectChar(CDetailWindow::kEscape);
    EXPECT_FALSE(window->GetRoot()->isVisible());
    EXPECT_EQ(window->GetCurrentPosition(), -1);
    EXPECT_FALSE(host.HasBrowserWindow());
}

TEST_F(DetailWindowTest, ReloadEmptiesTheWindowAndEnterShopBrowsesTheSellersShop)
{
    window->OpenProduct(2);
    window->ShowDetails(2, Details("102"));
    HeadlessGui::Click(window->GetWidget(CDetailWindow::ReloadButton));
    EXPECT_EQ(Text(CDetailWindow::SellerText), "卖家：");
    EXPECT_EQ(Text(CDetailWindow::TitleText), "");
    EXPECT_FALSE(Visible(CDetailWindow::EnterShopButton));
    EXPECT_EQ(window->GetCurrentPosition(), 2);

    window->ShowDetails(2, Details("102"));
    const uint32_t entered = CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActShopEntered);
    CTopPanel::getInstance().Initialise(nullptr);
    CLeftPanel::getInstance().Initialise(nullptr);
    HeadlessGui::Click(window->GetWidget(CDetailWindow::EnterShopButton));
    EXPECT_EQ(CQX_ModeManager::getInstance().GetCurrentKind(), ModeShop);
    EXPECT_EQ(CQX_SearchCondition::getInstance().nick, Ansi("卖家102"));
    EXPECT_EQ(CTopPanel::getInstance().GetShopNick(), Ansi("卖家102"));
    EXPECT_EQ(CLeftPanel::getInstance().GetSellerNick(), Ansi("卖家102"));
    EXPECT_EQ(CQX_GlobalVariable::getInstance().GetActionCounter(CQX_GlobalVariable::ActShopEntered), entered + 1);
}

TEST_F(DetailWindowTest, AClickedProductFillsInFromTheMarketWithItsPageAndPicture)
{
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    store.resetBrowseData(0);
    store.setSearch(CTaobaoSearchParams());
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, CQX_GlobalVariable::getInstance().GetSearchID()));
    CTaobaoProductInfo product;
    ASSERT_TRUE(store.products.copyProduct(3, product));

    window->OpenProduct(3);
    EXPECT_EQ(Text(CDetailWindow::TitleText), Utf8(product.title));
    ASSERT_TRUE(ProcessMessagesUntil([] { return Text(CDetailWindow::SellerText) != "卖家："; }));
    ASSERT_TRUE(ProcessMessagesUntil([] { return Visible(CDetailWindow::FavoriteToggle); }));
    EXPECT_NE(Text(CDetailWindow::StockText), "库存：0 件");
    EXPECT_TRUE(Visible(CDetailWindow::OpenPageButton));
    ASSERT_TRUE(window->GetBrowserHost().HasBrowserWindow());
    ASSERT_TRUE(window->GetBrowserHost().WaitForPage(20000));
    EXPECT_EQ(Property(CDetailWindow::HtmlArea, "Image"), CBrowserHost::kPageImageName);
    const auto picture = HtmlResourceFetcher::getInstance().FindPicture(product.pic_url + "_310x310.jpg");
    ASSERT_TRUE(picture);
    EXPECT_FALSE(picture->IsEmpty());
    EXPECT_TRUE(store.history.containsFeed(product.num_iid));
}

TEST_F(DetailWindowTest, ThePageScrollsWithTheWheelAndTheKeys)
{
    CBrowserHost& host = window->GetBrowserHost();
    window->OpenProduct(1);
    CTaobaoProductInfoDetails details = Details("101");
    details.desc = "<div style='height:5000px'>tall</div>";
    window->ShowDetails(1, details);
    ASSERT_TRUE(host.WaitForPage(10000));
    EXPECT_EQ(host.ScrollTop(), 0);

    const CEGUI::Rectf area = window->GetWidget(CDetailWindow::HtmlArea)->getUnclippedOuterRect().get();
    HeadlessGui::Context().injectMousePosition(area.left() + 50, area.top() + 50);
    HeadlessGui::Context().injectMouseWheelChange(-2);
    ASSERT_TRUE(host.WaitForPage(10000));
    EXPECT_EQ(host.ScrollTop(), 2 * CBrowserHost::kWheelStepPixels);

    HeadlessGui::Context().injectKeyDown(CEGUI::Key::PageDown);
    ASSERT_TRUE(host.WaitForPage(10000));
    EXPECT_EQ(host.ScrollTop(), 2 * CBrowserHost::kWheelStepPixels + host.Height() - CBrowserHost::kArrowStepPixels);
    HeadlessGui::Context().injectKeyDown(CEGUI::Key::ArrowUp);
    HeadlessGui::Context().injectKeyDown(CEGUI::Key::Home);
    ASSERT_TRUE(host.WaitForPage(10000));
    EXPECT_EQ(host.ScrollTop(), 0);
    HeadlessGui::Context().injectKeyDown(CEGUI::Key::End);
    ASSERT_TRUE(host.WaitForPage(10000));
    EXPECT_GT(host.ScrollTop(), 4000);
    EXPECT_TRUE(window->GetRoot()->isVisible());
}
