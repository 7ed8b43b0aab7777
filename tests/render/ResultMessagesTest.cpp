// The API operations' results travel to the windows as render messages:
// each operation runs against the local marketplace, and the render thread's
// processing reaches the stand-in windows.
#include "tests/render/RenderTargets.h"
#include "tests/support/LocalMarket.h"
#include "tests/taobao/StoreDirectory.h"

#include "market/Catalogue.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/CodePage.h"
#include "render/CRenderMsgQueue.h"
#include "taobao/CTaobaoConnector.h"

#include <gtest/gtest.h>

namespace {

class ResultMessagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LocalMarket::instance().reset();
        m_directory = std::make_unique<StoreDirectory>();
        m_store = &CTaobaoDataStore::getInstance();
        NewSearch();
    }
    void TearDown() override
    {
        Queue().Clear();
        m_directory.reset();
    }

    void NewSearch(const CTaobaoSearchParams& params = CTaobaoSearchParams())
    {
        CQX_GlobalVariable::getInstance().SearchIDChange();
        m_searchId = CQX_GlobalVariable::getInstance().GetSearchID();
        m_store->resetBrowseData(1);
        m_store->setBrowseSource(CTaobaoDataStore::ItemsSearch);
        m_store->setSearch(params);
    }
    static CRenderMsgQueue& Queue() { return CRenderMsgQueue::getInstance(); }
    static int ProcessAll()
    {
        int count = 0;
        while (Queue().ProcessNextMsg())
            ++count;
        return count;
    }
    static const market::Catalogue& Catalogue() { return LocalMarket::instance().server().catalogue(); }

    std::unique_ptr<StoreDirectory> m_directory;
    CTaobaoDataStore* m_store = nullptr;
    int m_searchId = 0;
    TestDetailWindow m_window;
    TestLeftPanel m_panel;
    TestSearchBar m_searchBar;
};

TEST_F(ResultMessagesTest, AShopProfileShowsItsSellerInTheSearchBarAndItsBulletinInThePanel)
{
    const market::Shop& shop = Catalogue().shops()[4];
    ASSERT_TRUE(CTaobaoConnector::fetchShopInfo(shop.nick, m_searchId));
    EXPECT_EQ(ProcessAll(), 1);
    EXPECT_EQ(m_searchBar.nicks, std::vector<std::string>{shop.nick}) << "the nick is shown in UTF-8";
    EXPECT_EQ(m_panel.bulletin, shop.bulletin.empty() ? "暂无公告" : shop.bulletin);
    EXPECT_EQ(m_panel.bulletinRefreshes, 1);

    ASSERT_TRUE(CTaobaoConnector::fetchShopInfo(shop.nick, m_searchId));
    NewSearch();
    EXPECT_EQ(ProcessAll(), 0) << "a shop of an earlier search is not shown";
    EXPECT_EQ(m_searchBar.nicks.size(), 1u);
}

TEST_F(ResultMessagesTest, ASellersCreditReachesThePanelWhileItShowsThatSellerEvenAfterANewSearch)
{
    const market::Seller& seller = Catalogue().sellers()[6];
    m_panel.sellerNick = CodePage::Utf8ToGbk(seller.nick);
    // Asked for under the previous search, answered after the new one began.
    const int askedUnder = m_searchId;
    NewSearch();
    ASSERT_TRUE(CTaobaoConnector::fetchSellerInfo(seller.nick, nullptr, askedUnder));
    EXPECT_EQ(ProcessAll(), 1);
    EXPECT_EQ(m_panel.credit, std::to_string(seller.totalNum));
    EXPECT_DOUBLE_EQ(m_panel.ratePercent, 100.0 * double(seller.goodNum) / double(seller.totalNum));
    EXPECT_EQ(m_panel.sellerRefreshes, 1);

    const market::Seller& other = Catalogue().sellers()[7];
    ASSERT_TRUE(CTaobaoConnector::fetchSellerInfo(other.nick, nullptr, m_searchId));
    EXPECT_EQ(ProcessAll(), 1);
    EXPECT_EQ(m_panel.credit, std::to_string(seller.totalNum)) << "another seller's answer changes nothing";
    EXPECT_EQ(m_panel.sellerRefreshes, 1);
}

TEST_F(ResultMessagesTest, DetailsThenTheAffiliateLinkFillTheDetailWindow)
{
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(5, m_searchId));
    CTaobaoProductInfo product;
    ASSERT_TRUE(m_store->products.copyProduct(5, product));
    CTaobaoProductInfoDetails details(product);
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfoDetails(details, 5, m_searchId));
    ASSERT_TRUE(CTaobaoConnector::fetchTaobaokeProductURL(product.num_iid, 5, m_searchId));
    EXPECT_EQ(ProcessAll(), 2);

    EXPECT_EQ(m_window.shown, std::vector<int>{5});
    EXPECT_EQ(m_window.lastDetails.num_iid, product.num_iid);
    EXPECT_FALSE(m_window.lastDetails.desc.empty());
    EXPECT_TRUE(m_window.lastDetails.credit.empty()) << "the first snapshot comes before the seller's credit";
    EXPECT_EQ(m_window.urlPositions, std::vector<int>{5});
    EXPECT_EQ(m_window.lastUrl.rfind("http", 0), 0u);
}

TEST_F(ResultMessagesTest, AFailedConversionPostsNoLink)
{
    ASSERT_TRUE(CTaobaoConnector::fetchTaobaokeProductURL("999999999999", 2, m_searchId));
    EXPECT_EQ(ProcessAll(), 0);
    EXPECT_TRUE(m_window.urlPositions.empty());
}

TEST_F(ResultMessagesTest, CategoriesAndPropertiesRebuildThePanelsTrees)
{
    ASSERT_TRUE(CTaobaoConnector::fetchProductInfo(0, m_searchId));
    ASSERT_TRUE(CTaobaoConnector::fetchCategoryInfo(m_searchId));
    EXPECT_EQ(ProcessAll(), 1);
    EXPECT_EQ(m_panel.categoryBuilds, 1);

    const market::Category* leaf = nullptr;
    for (const market::Category& category : Catalogue().categories()) {
        if (!category.isParent && !Catalogue().propValues(category.cid).empty()) {
            leaf = &category;
            break;
        }
    }
    ASSERT_NE(leaf, nullptr);
    CTaobaoSearchParams params;
    params.cid = std::to_string(leaf->cid);
    NewSearch(params);
    ASSERT_TRUE(CTaobaoConnector::fetchPropertyInfo(params.cid, m_searchId));
    EXPECT_EQ(ProcessAll(), 1);
    EXPECT_EQ(m_panel.propertyBuilds, 1);
    EXPECT_EQ(m_panel.categoryBuilds, 1);
}

TEST(ResultMessagesWithoutWindows, MessagesForWindowsNotYetCreatedChangeNothing)
{
    LocalMarket::instance().reset();
    StoreDirectory directory;
    const int searchId = CQX_GlobalVariable::getInstance().GetSearchID();
    const market::Shop& shop = LocalMarket::instance().server().catalogue().shops()[1];
    ASSERT_TRUE(CTaobaoConnector::fetchShopInfo(shop.nick, searchId));
    ASSERT_TRUE(CTaobaoConnector::fetchSellerInfo(shop.nick, nullptr, searchId));
    const int live = CRenderMsg::LiveCount();
    EXPECT_TRUE(CRenderMsgQueue::getInstance().ProcessNextMsg());
    EXPECT_TRUE(CRenderMsgQueue::getInstance().ProcessNextMsg());
    EXPECT_EQ(CRenderMsg::LiveCount(), live - 2);
}

}
