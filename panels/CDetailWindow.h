#pragma once
#include "panels/CBrowserHost.h"
#include "render/CDetailWindowTarget.h"
#include "taobao/CTaobaoProductInfoDetails.h"

#include <CEGUI/CEGUI.h>

#include <map>
#include <string>

// The window that opens over the wall when the user clicks a product card:
// title, price, stock, delivery fee, location, seller with credit and good
// rate, 30-day sales, and the description as a page. Its details arrive in
// three steps as render messages; a step for another product than the one
// on show is dropped. Render thread only.
class CDetailWindow : public CDetailWindowTarget
{
public:
    enum WidgetId
    {
        TitleText = 1,
        StockText = 2,
        ExpressFeeText = 3,
        LocationText = 4,
        PriceText = 6,
        HtmlArea = 7,
        SellerText = 8,
        CreditText = 9,
        GoodRateText = 10,
        OpenPageButton = 12,
        EnterShopButton = 13,
        CreditImage = 14,
        CloseButton = 15,
        FavoriteToggle = 16,
        VolumeText = 17,
        ReloadButton = 18,
        StatusText = 19,
    };

    static constexpr const char* kLayoutFile = "DetailWindow.layout";
    static constexpr uint32_t kEscape = 27;
    // The picture element is formatted into a buffer of this size.
    static constexpr size_t kPictureElementBytes = 1024;

    // The window, or null before CreateDetailWindow.
    static CDetailWindow* getInstance() { return s_instance; }
    static void CreateDetailWindow(const std::string& namePrefix);
    static void Destroy();

    void OpenProduct(int position);
    void Close();
    void ShowDetails(int position, const CTaobaoProductInfoDetails& details) override;
    void SetDetailURL(int position, const std::string& url) override;
    void ShowSellerInfo(int position, const CTaobaoProductInfoDetails& details) override;
    // A UTF-8 message shown for three seconds; "" clears it.
    void SetStatusText(const std::string& utf8Text);

    // The credit picture: hidden up to 3, else the star, diamond or crown
    // of the credit's band.
    static void SetCreditImage(CEGUI::Window* widget, const std::string& credit);
    // The texts the left panel shares, in UTF-8.
    static std::string GoodRateLabel(double ratePercent);
    static std::string LocationOf(const std::string& state, const std::string& city);
    // The page shown for a description, in the system code page; "" for an
    // empty description.
    static std::string BuildPage(const std::string& pictureUrl, const std::string& endTime, const std::string& desc);

    int GetCurrentPosition() const { return m_position; }
    CEGUI::Window* GetRoot() const { return m_root; }
    CEGUI::Window* GetWidget(WidgetId id) const { return m_widgets.at(id); }
    CBrowserHost& GetBrowserHost() { return m_browser; }
    const std::string& GetDetailURL() const { return m_detailUrl; }

private:
    explicit CDetailWindow(CEGUI::Window* root);
    ~CDetailWindow() override;

    void FindWidgets();
    void SubscribeEvents();
    void Reset();
    void SetText(WidgetId id, const std::string& utf8Label, const std::string& ansiValue = "",
                 const std::string& utf8Suffix = "");
    void SetSellerNick(const std::string& nick);
    void SetSellerCredit(const std::string& credit);
    void SetGoodRate(double ratePercent);
    void UpdateEnterShopButton();
    void SetOpenPageUrl(const std::string& url);
    void SetFavoriteLook(bool favorite);
    bool IsFavorite() const;
    void ShowVolume(const std::string& volume);
    void OnStatusTimer(int counter);

    bool OnFavorite(const CEGUI::EventArgs& e);
    bool OnClose(const CEGUI::EventArgs& e);
    bool OnReload(const CEGUI::EventArgs& e);
    bool OnKey(const CEGUI::EventArgs& e);
    bool OnKeyDown(const CEGUI::EventArgs& e);
    bool OnOpenPage(const CEGUI::EventArgs& e);
    bool OnEnterShop(const CEGUI::EventArgs& e);
    bool OnUpdated(const CEGUI::EventArgs& e);

    static CDetailWindow* s_instance;

    CEGUI::Window* m_root;
    std::map<WidgetId, CEGUI::Window*> m_widgets;
    int m_position = -1;
    std::string m_detailUrl;
    std::string m_pictureUrl;
    std::string m_sellerNick;
    std::string m_sellerCredit;
    std::string m_endTime;
    double m_goodRate = 0;
    CTaobaoProductInfoDetails m_product;
    CBrowserHost m_browser;
    int m_statusCounter = 0;
};
