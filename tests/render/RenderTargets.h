#pragma once
#include "render/CDetailWindowTarget.h"
#include "render/CLeftPanelTarget.h"
#include "render/CSearchBarTarget.h"
#include "taobao/CTaobaoProductInfoDetails.h"

#include <string>
#include <vector>

// Stand-ins for the detail window, the left panel and the search bar that
// record what the render messages asked of them. Each registers itself for
// its lifetime, as the real windows do.
class TestDetailWindow : public CDetailWindowTarget
{
public:
    TestDetailWindow() { Set(this); }
    ~TestDetailWindow() override { Set(nullptr); }

    void ShowDetails(int position, const CTaobaoProductInfoDetails& details) override
    {
        shown.push_back(position);
        lastDetails = details;
    }
    void ShowSellerInfo(int position, const CTaobaoProductInfoDetails& details) override
    {
        sellerShown.push_back(position);
        lastDetails = details;
    }
    void SetDetailURL(int position, const std::string& url) override
    {
        urlPositions.push_back(position);
        lastUrl = url;
    }

    std::vector<int> shown;
    std::vector<int> sellerShown;
    std::vector<int> urlPositions;
    CTaobaoProductInfoDetails lastDetails;
    std::string lastUrl;
};

class TestLeftPanel : public CLeftPanelTarget
{
public:
    TestLeftPanel() { Set(this); }
    ~TestLeftPanel() override { Set(nullptr); }

    void BuildCategoryTree() override { ++categoryBuilds; }
    void BuildPropertyTree() override { ++propertyBuilds; }
    std::string GetSellerNick() const override { return sellerNick; }
    void SetSellerCredit(const std::string& newCredit, double newRatePercent) override
    {
        credit = newCredit;
        ratePercent = newRatePercent;
    }
    void RefreshSellerInfo() override { ++sellerRefreshes; }
    void SetBulletin(const std::string& utf8Bulletin) override { bulletin = utf8Bulletin; }
    void RefreshBulletin() override { ++bulletinRefreshes; }

    int categoryBuilds = 0;
    int propertyBuilds = 0;
    std::string sellerNick;  // system code page, as the panel keeps it
    std::string credit;
    double ratePercent = 0;
    int sellerRefreshes = 0;
    std::string bulletin;
    int bulletinRefreshes = 0;
};

class TestSearchBar : public CSearchBarTarget
{
public:
    TestSearchBar() { Set(this); }
    ~TestSearchBar() override { Set(nullptr); }

    void ShowShopNick(const std::string& utf8Nick) override { nicks.push_back(utf8Nick); }

    std::vector<std::string> nicks;
};
