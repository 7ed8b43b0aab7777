#include "panels/CDetailWindow.h"

#include "common/CEGuiCompat.h"
#include "download/CTaobaoDownloader.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_ModeKind.h"
#include "mainwnd/CQX_ModeManager.h"
#include "mainwnd/CQX_SearchCondition.h"
#include "mainwnd/CQX_TimerList.h"
#include "mainwnd/CTopPanel.h"
#include "panels/CButtonLooks.h"
#include "panels/CLeftPanel.h"
#include "panels/CPanelText.h"
#include "platform/Browser.h"
#include "platform/HtmlView.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/CTaobaoLocalStore.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

CDetailWindow* CDetailWindow::s_instance = nullptr;

namespace {

const CDetailWindow::WidgetId kAllWidgets[] = {
    CDetailWindow::TitleText,      CDetailWindow::StockText,      CDetailWindow::ExpressFeeText,
    CDetailWindow::LocationText,   CDetailWindow::PriceText,      CDetailWindow::HtmlArea,
    CDetailWindow::SellerText,     CDetailWindow::CreditText,     CDetailWindow::GoodRateText,
    CDetailWindow::OpenPageButton, CDetailWindow::EnterShopButton, CDetailWindow::CreditImage,
    CDetailWindow::CloseButton,    CDetailWindow::FavoriteToggle, CDetailWindow::VolumeText,
    CDetailWindow::ReloadButton,   CDetailWindow::StatusText,
};

struct CreditBand
{
    long long upTo;
    const char* image;
};

const CreditBand kCreditBands[] = {
    {10, "RedStar1"},      {40, "RedStar2"},      {90, "RedStar3"},       {150, "RedStar4"},
    {250, "RedStar5"},     {500, "RedDiam1"},     {1000, "RedDiam2"},     {2000, "RedDiam3"},
    {5000, "RedDiam4"},    {10000, "RedDiam5"},   {20000, "RedCrown1"},   {50000, "RedCrown2"},
    {100000, "RedCrown3"}, {200000, "RedCrown4"},
};

// The credit as a decimal number; text that is not one reads as 0.
long long CreditValue(const std::string& credit)
{
    errno = 0;
    const long long value = std::strtoll(credit.c_str(), nullptr, 10);
    return errno == ERANGE && value < 0 ? 0 : value;
}

const CButtonLooks kFavoriteLooks = {"set:FirstPageMore image:StartHeight", "set:FirstPageMore image:StartHeightHover",
                                     "set:FirstPageMore image:Start", "取消收藏此商品"};
const CButtonLooks kNotFavoriteLooks = {"set:FirstPageMore image:Start", "set:FirstPageMore image:StartHover",
                                        "set:FirstPageMore image:StartHeight", "收藏此商品"};

int CurrentModeKind()
{
    return CQX_GlobalVariable::getInstance().GetCurrentModeId();
}

}

void CDetailWindow::CreateDetailWindow(const std::string& namePrefix)
{
    CEGUI::Window* root = CEGUI::WindowManager::getSingleton().loadLayoutFromFile(kLayoutFile);
    root->setName(namePrefix + root->getName().c_str());
    root->setDestroyedByParent(false);
    // Drawn once into a texture of its own and from there each frame: a wall
    // moving behind it no longer redraws its many layers.
    root->setUsingAutoRenderingSurface(true);
    if (CEGUI::Window* sheet = CEGuiCompat::Context().getRootWindow())
        sheet->addChild(root);
    delete s_instance;
    s_instance = new CDetailWindow(root);
    s_instance->Close();
}

void CDetailWindow::Destroy()
{
    delete s_instance;
    s_instance = nullptr;
    HtmlView::Shutdown();
}

CDetailWindow::CDetailWindow(CEGUI::Window* root) : m_root(root)
{
    FindWidgets();
    SubscribeEvents();
    CTaobaoDataStore::getInstance().loadFavorites();
    m_position = -1;
    Reset();
    m_browser.Attach(GetWidget(HtmlArea));
    m_sellerNick.clear();
    m_sellerCredit.clear();
    m_goodRate = 0;
    Set(this);
}

CDetailWindow::~CDetailWindow()
{
    Set(nullptr);
    m_browser.DestroyBrowserWindow();
    CEGUI::WindowManager::getSingleton().destroyWindow(m_root);
}

void CDetailWindow::FindWidgets()
{
    for (WidgetId id : kAllWidgets)
        m_widgets[id] = m_root->getChild(id);
}

void CDetailWindow::SubscribeEvents()
{
    using CEGUI::Event;
    GetWidget(FavoriteToggle)
        ->subscribeEvent(CEGUI::PushButton::EventClicked, Event::Subscriber(&CDetailWindow::OnFavorite, this));
    GetWidget(CloseButton)
        ->subscribeEvent(CEGUI::Window::EventMouseClick, Event::Subscriber(&CDetailWindow::OnClose, this));
    GetWidget(ReloadButton)
        ->subscribeEvent(CEGUI::Window::EventMouseClick, Event::Subscriber(&CDetailWindow::OnReload, this));
    m_root->subscribeEvent(CEGUI::Window::EventCharacterKey, Event::Subscriber(&CDetailWindow::OnKey, this));
    m_root->subscribeEvent(CEGUI::Window::EventKeyDown, Event::Subscriber(&CDetailWindow::OnKeyDown, this));
    GetWidget(OpenPageButton)
        ->subscribeEvent(CEGUI::PushButton::EventClicked, Event::Subscriber(&CDetailWindow::OnOpenPage, this));
    GetWidget(EnterShopButton)
        ->subscribeEvent(CEGUI::PushButton::EventClicked, Event::Subscriber(&CDetailWindow::OnEnterShop, this));
    m_root->subscribeEvent(CEGUI::Window::EventUpdated, Event::Subscriber(&CDetailWindow::OnUpdated, this));
}

void CDetailWindow::SetText(WidgetId id, const std::string& utf8Label, const std::string& ansiValue,
                            const std::string& utf8Suffix)
{
    GetWidget(id)->setText(CEGuiCompat::Utf8(utf8Label + CPanelText::Utf8(ansiValue) + utf8Suffix));
}

void CDetailWindow::Reset()
{
    SetText(TitleText, "");
    SetText(StockText, "库存：", "0", " 件");
    SetText(ExpressFeeText, "快递：", "", " 元");
    SetText(LocationText, "所在地：");
    m_endTime.clear();
    SetText(PriceText, "价格：", "", " 元");
    m_browser.ShowHtml("");
    SetSellerNick("");
    SetSellerCredit("");
    SetGoodRate(0);
    SetOpenPageUrl("");
    SetText(VolumeText, "");
    GetWidget(FavoriteToggle)->hide();
}

void CDetailWindow::OpenProduct(int position)
{
    if (position != m_position) {
        CTaobaoDownloader::getInstance().downloadProductDetails(position);
        m_position = position;
        m_product = CTaobaoProductInfoDetails();
        Reset();
        CTaobaoProductInfo product;
        if (CTaobaoDataStore::getInstance().products.copyProduct(position, product)) {
            SetText(TitleText, "", product.title);
            SetText(PriceText, "价格：", product.price, " 元");
            m_product.num_iid = product.num_iid;
            if (IsFavorite()) {
                SetFavoriteLook(true);
                GetWidget(FavoriteToggle)->show();
            }
        }
    }
    m_root->show();
    m_root->activate();
}

void CDetailWindow::Close()
{
    m_root->hide();
    m_position = -1;
    m_product = CTaobaoProductInfoDetails();
    m_browser.DestroyBrowserWindow();
    SetStatusText("");
}

void CDetailWindow::ShowDetails(int position, const CTaobaoProductInfoDetails& details)
{
    if (position != m_position)
        return;
    m_product = details;
    m_pictureUrl = details.pic_url;
    SetText(TitleText, "", details.title);
    SetText(PriceText, "价格：", details.price, " 元");
    m_endTime = details.delist_time;
    SetText(StockText, "库存：", details.num, " 件");
    SetText(LocationText, "所在地：", LocationOf(details.state, details.city));
    SetText(ExpressFeeText, "快递：", details.express_fee, " 元");
    SetSellerNick(details.nick);
    SetGoodRate(details.reputation * 100);
    SetSellerCredit(details.credit);
    SetOpenPageUrl(details.detail_url);
    ShowVolume(details.volume);
    m_browser.ShowHtml(BuildPage(m_pictureUrl, m_endTime, details.desc));
}

void CDetailWindow::SetDetailURL(int position, const std::string& url)
{
    if (position == m_position)
        SetOpenPageUrl(url);
}

void CDetailWindow::ShowSellerInfo(int position, const CTaobaoProductInfoDetails& details)
{
    if (position != m_position)
        return;
    m_product.reputation = details.reputation;
    m_product.credit = details.credit;
    SetGoodRate(details.reputation * 100);
    SetSellerCredit(details.credit);
    SetFavoriteLook(IsFavorite());
    GetWidget(FavoriteToggle)->show();
}

void CDetailWindow::SetSellerNick(const std::string& nick)
{
    m_sellerNick = nick;
    SetText(SellerText, "卖家：", nick);
    UpdateEnterShopButton();
}

void CDetailWindow::SetSellerCredit(const std::string& credit)
{
    m_sellerCredit = credit;
    SetText(CreditText, "信用：", credit);
    SetCreditImage(GetWidget(CreditImage), credit);
    UpdateEnterShopButton();
}

void CDetailWindow::SetGoodRate(double ratePercent)
{
    m_goodRate = ratePercent;
    GetWidget(GoodRateText)->setText(CEGuiCompat::Utf8(GoodRateLabel(ratePercent)));
}

void CDetailWindow::UpdateEnterShopButton()
{
    const bool offered = !m_sellerNick.empty() && !m_sellerCredit.empty() && CurrentModeKind() != ModeShop;
    GetWidget(EnterShopButton)->setVisible(offered);
}

void CDetailWindow::SetOpenPageUrl(const std::string& url)
{
    m_detailUrl = url;
    GetWidget(OpenPageButton)->setVisible(url.size() > 3);
}

void CDetailWindow::ShowVolume(const std::string& volume)
{
    const int mode = CurrentModeKind();
    const bool affiliateSearch =
        (mode == ModeSearch || mode == ModeSimpleSearch) && CQX_SearchCondition::getInstance().affiliate;
    if (affiliateSearch || volume.empty())
        SetText(VolumeText, "");
    else
        SetText(VolumeText, "30天出售：", volume, " 件");
}

bool CDetailWindow::IsFavorite() const
{
    return CTaobaoDataStore::getInstance().favorites.containsFeed(m_product.num_iid);
}

void CDetailWindow::SetFavoriteLook(bool favorite)
{
    (favorite ? kFavoriteLooks : kNotFavoriteLooks).ApplyTo(GetWidget(FavoriteToggle));
}

void CDetailWindow::SetCreditImage(CEGUI::Window* widget, const std::string& credit)
{
    const long long value = CreditValue(credit);
    if (value <= 3) {
        widget->hide();
        return;
    }
    const char* image = "RedCrown5";
    for (const CreditBand& band : kCreditBands) {
        if (value <= band.upTo) {
            image = band.image;
            break;
        }
    }
    CEGuiCompat::SetProperty(widget, "Image", std::string("set:credit image:") + image);
    widget->show();
}

std::string CDetailWindow::GoodRateLabel(double ratePercent)
{
    std::string label = "好评：";
    if (ratePercent > 0) {
        char number[64];
        std::snprintf(number, sizeof(number), "%.2f%%", ratePercent);
        label += number;
    }
    return label;
}

std::string CDetailWindow::LocationOf(const std::string& state, const std::string& city)
{
    const std::string location = state + city;
    const size_t half = location.size() / 2;
    if (location.size() % 2 == 0 && location.compare(half, half, location, 0, half) == 0)
        return location.substr(0, half);
    return location;
}

std::string CDetailWindow::BuildPage(const std::string& pictureUrl, const std::string& endTime,
                                     const std::string& desc)
{
    if (desc.empty())
        return std::string();
    std::string page = "<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />"
                       "<div style=\"text-align:center\">";
    if (!pictureUrl.empty()) {
        // A quote in the address would end the attribute early.
        std::string address;
        for (char c : pictureUrl)
            address += c == '\'' ? std::string("%27") : std::string(1, c);
        char element[kPictureElementBytes];
        const int length = std::snprintf(element, sizeof(element),
                                         "<img src='%s_310x310.jpg'style='margin:10;padding:0'/><br>", address.c_str());
        // An address too long for the element would be cut into another
        // address: the picture is left out instead.
        if (length > 0 && static_cast<size_t>(length) < sizeof(element))
            page += element;
    }
    page += CPanelText::Ansi("<b>结束时间：") + endTime + "</b><br>";
    page += "<br></div>";
    page += desc;
    page += "</html>";
    return page;
}

void CDetailWindow::SetStatusText(const std::string& utf8Text)
{
    CEGUI::Window* status = GetWidget(StatusText);
    if (utf8Text.empty()) {
        status->setText("");
        return;
    }
    const int counter = ++m_statusCounter;
    status->setText(CEGuiCompat::Utf8(utf8Text));
    // The window may be gone by the time the timer fires.
    CQX_TimerList::getInstance().AddTimer(counter, [](int value) {
        if (CDetailWindow* window = getInstance())
            window->OnStatusTimer(value);
    });
}

void CDetailWindow::OnStatusTimer(int counter)
{
    if (counter >= m_statusCounter)
        GetWidget(StatusText)->setText("");
}

bool CDetailWindow::OnFavorite(const CEGUI::EventArgs&)
{
    CTaobaoDataStore& store = CTaobaoDataStore::getInstance();
    if (IsFavorite()) {
        store.favorites.removeFeed(m_product.num_iid);
    } else {
        CTaobaoLocalStore::addFeedRecord(store.favorites, m_product);
        CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActFavoriteProductAdded);
    }
    SetFavoriteLook(IsFavorite());
    return true;
}

bool CDetailWindow::OnClose(const CEGUI::EventArgs&)
{
    Close();
    return true;
}

bool CDetailWindow::OnReload(const CEGUI::EventArgs&)
{
    Reset();
    CTaobaoDownloader::getInstance().downloadProductDetails(m_position);
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActDetailReload);
    return true;
}

bool CDetailWindow::OnKey(const CEGUI::EventArgs& e)
{
    if (static_cast<const CEGUI::KeyEventArgs&>(e).codepoint != kEscape)
        return false;
    Close();
    return true;
}

bool CDetailWindow::OnKeyDown(const CEGUI::EventArgs& e)
{
    return m_browser.ScrollByKey(static_cast<const CEGUI::KeyEventArgs&>(e).scancode);
}

bool CDetailWindow::OnOpenPage(const CEGUI::EventArgs&)
{
    if (m_detailUrl.size() <= 10)
        return true;
    SetStatusText("浏览器加载中，请稍候");
    OpenURLInBrowser(m_detailUrl);
    CQX_GlobalVariable::getInstance().IncPagesOpened();
    return true;
}

bool CDetailWindow::OnEnterShop(const CEGUI::EventArgs&)
{
    if (m_sellerNick.empty())
        return true;
    CTopPanel::getInstance().SetShopHeader(m_sellerNick, m_product.pic_url);
    CQX_ModeManager::getInstance().SwitchMode(ModeShop);
    CQX_SearchCondition& condition = CQX_SearchCondition::getInstance();
    condition.ResetCondition();
    condition.nick = m_sellerNick;
    condition.DoSearch(0);
    CLeftPanel::getInstance().SetSeller(m_sellerNick, m_sellerCredit, m_goodRate);
    CQX_GlobalVariable::getInstance().IncAction(CQX_GlobalVariable::ActShopEntered);
    return true;
}

bool CDetailWindow::OnUpdated(const CEGUI::EventArgs&)
{
    m_browser.Update();
    return false;
}
