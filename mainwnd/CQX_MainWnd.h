#pragma once
#include "common/CEGuiSample.h"

#include <CEGUI/CEGUI.h>

#include <cstdint>
#include <string>
#include <vector>

// The main window controller: loads the GUI, wires the widgets to their
// handlers and fills the frame's per-frame slots.
class CQX_MainWnd : public CEGuiSample
{
public:
    static const char* const kFontFiles[4];

    CQX_MainWnd();
    ~CQX_MainWnd() override;

    bool InitialiseSample() override;
    void RenderScene(uint32_t now) override;
    void RenderOverlay(uint32_t now) override;
    void OnViewResized() override;
    void ShowStartupPicture() override;
    void OnIdle() override;
    void OnOneRenderLoopEnd() override;
    void Cleanup() override;

    bool IsInitialised() const { return m_initialised; }

    // The wall and the panels, as the modes, the search condition and the
    // top panel use them.
    int GetFirstVisibleIndex() const;
    // Requests the visible screen (when it changed, or always when forced).
    void Redisplay(bool force);
    // A new browse at result index first: the wall empties and its motion
    // rests there; the downloader forgets what it was asked for.
    void ResetWall(int first);
    // Leaving a mode: the wall empties, the left panel and the detail window close.
    void ClearWallAndPanels();
    void RequestProducts(const std::vector<int>& positions);
    void OpenProduct(int position);
    void CloseDetailWindow();
    // The scroll limit for the results up to the end of the visible screen.
    void SetScrollLimitForScreen();
    void ApplyBigPictures(bool big);
    void UpdateBigSmallButton();
    // Enables the mode buttons but the current mode's.
    void UpdateModeButtons();
    void ShowSpeedText(bool on);
    // Gives the keyboard to the wall. Unforced, it leaves a search or price
    // box that has the keyboard alone.
    void ActivateRoamButton(bool force);

    // The font files tried for the GUI's Chinese fonts, in order: the four
    // classic ones, then a CJK font that fontconfig finds.
    static std::vector<std::string> FontCandidates();
    // Creates "qx_font_normal" and "qx_font_large" from the first candidate
    // that loads (the "fonts" group must point at the fonts folder); false
    // when none does.
    static bool CreateFonts();

private:
    void LoadSchemeAndCursor();
    void LoadLayout();
    void SubscribeEvents();
    void Subscribe(const char* window, const CEGUI::String& event, bool (CQX_MainWnd::*handler)(const CEGUI::EventArgs&));
    void SetUpBrowsing();
    void WaitForRecommendCatalogue();

    bool OnClose(const CEGUI::EventArgs& e);
    bool OnAboutUs(const CEGUI::EventArgs& e);
    bool OnBigSmall(const CEGUI::EventArgs& e);
    bool OnToday(const CEGUI::EventArgs& e);
    bool OnFavorites(const CEGUI::EventArgs& e);
    bool OnRoam(const CEGUI::EventArgs& e);

    uint32_t m_frameTime = 0;
    int m_lastFirstIndex = 0;
    CEGUI::Window* m_bigSmallButton = nullptr;
    CEGUI::Window* m_favoriteButton = nullptr;
    CEGUI::Window* m_todayButton = nullptr;
    CEGUI::Window* m_roamButton = nullptr;
    bool m_initialised = false;
};
