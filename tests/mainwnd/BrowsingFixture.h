#pragma once
#include "common/CEGuiCompat.h"
#include "mainwnd/CQX_MainWnd.h"
#include "mainwnd/CQX_ModeManager.h"
#include "taobao/CTaobaoSearchParams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The main window on the headless GUI with the real layout, started as the
// frame starts it, in a private data folder with a small recommendation
// package. The process-wide browsing state is not reset between cases:
// ctest runs each case in its own process.
class BrowsingFixture : public ::testing::Test
{
public:
    // Positions of the recommendation package's items in class 0.
    enum Item
    {
        KeywordItem = 0,     // "连衣裙", prices 100-300, mall
        ShopItem = 1,        // the shop "小店"
        LinkItem = 2,        // a product page
        SwappedPriceItem = 3,  // "毛衣", low 200, high 50
        VolumeItem = 4,      // "手机", by sales volume, through the affiliate search
        ItemCount = 5,
    };
    static const char* const kShopNick;  // UTF-8

protected:
    void SetUp() override;
    // The main window under test; this one has no device.
    virtual std::unique_ptr<CQX_MainWnd> MakeWindow();

    static CEGUI::Window* Window(const char* name) { return CEGuiCompat::GetWindow(name); }
    static CQX_ModeManager& Modes() { return CQX_ModeManager::getInstance(); }
    static int Kind() { return Modes().GetCurrentKind(); }
    static CTaobaoSearchParams Record();
    static int SearchId();
    static std::string TextOf(const char* name) { return CEGuiCompat::FromGui(Window(name)->getText()); }

    // Clicks a box and types into it, as the user does.
    static void Type(const char* box, const std::string& utf8);
    static void PressEnter(const char* box);
    // Clears a box and types a search, then presses Enter.
    static void Search(const std::string& keyword);
    static void Choose(const char* list, size_t index);
    static void Click(const char* name);
    // The shop mode, entered from the shop recommendation.
    static void EnterShop();

    std::unique_ptr<CQX_MainWnd> m_wnd;
};
