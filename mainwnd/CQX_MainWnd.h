#pragma once
#include "common/CEGuiSample.h"
#include "mainwnd/CQX_AutoPlay.h"
#include "mainwnd/CQX_NoticeDialog.h"
#include "mainwnd/CQX_WallNavigator.h"
#include "scene/CNumMotion.h"
#include "taobao/CTaobaoDataStore.h"

#include <CEGUI/CEGUI.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class RenderDevice;

// The main window controller: loads the GUI, wires the widgets to their
// handlers and fills the frame's per-frame slots.
class CTaobaoDownloader;

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
    bool IsSceneMoving() const override;
    bool HasSceneChanged(uint32_t now) override;

    // Requests the cards of the visible range [first, last) and around it
    // that the wall still lacks, the screen first.
    void DisplayProduct(int first, int last);

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
    // Nothing is browsed before the product downloader runs.
    bool HasDownloader() const { return m_downloader != nullptr; }
    // Hands wall positions to the product downloader, first given, first
    // served; an empty list forgets what was asked for.
    void DownloadProducts(const std::vector<int>& positions);
    // The shop and seller records of a nick (system code page).
    void RequestShopAndSeller(const std::string& nick);
    void OpenProduct(int position);
    void CloseDetailWindow();
    // The scroll limit for the results up to the end of the visible screen.
    void SetScrollLimitForScreen();
    // The scroll limit for the current mode's products.
    void SetScrollLimitForMode();
    // The current mode's product count, at most what the wall can show.
    int GetCappedProductCount() const;
    void ApplyBigPictures(bool big);
    void UpdateBigSmallButton();
    // Enables the mode buttons but the current mode's.
    void UpdateModeButtons();
    void ShowSpeedText(bool on);

    // Navigation, as the handlers use it.
    // Keeps the frame loop unthrottled for a while after the user acted.
    void MarkBusy();
    void StopAutoPlay();
    // Requests the next three screens ahead of auto-play; unforced, at most
    // once per speed level times 2.5 seconds.
    void PrefetchAhead(bool force);
    void ChangeDistance(double delta);
    void ChangeTilt(double delta);
    void ResetCamera();
    // Opens the card at a screen point; false when there is none.
    bool PickCard(float x, float y);
    void CollapseLeftPanel();
    bool IsAutoPlayOn() const { return m_autoPlay.IsOn(); }
    const CNumMotion& GetCameraDistance() const { return m_cameraDistance; }
    const CNumMotion& GetCameraTilt() const { return m_cameraTilt; }
    // Narrow the current search to a category (id) or a property value
    // chosen in the left panel; the search condition, and so the history,
    // keeps the search as it was.
    void SearchByCategory(const std::string& categoryId);
    void SearchByProperty(const std::string& propertyValue);
    // Gives the keyboard to the wall. Unforced, it leaves a search or price
    // box that has the keyboard alone.
    void ActivateRoamButton(bool force);

    // The font files tried for the GUI's Chinese fonts, as full paths, in
    // order: the four classic ones in the fonts folder, then every Chinese
    // font fontconfig knows.
    static std::vector<std::string> FontCandidates();
    // Creates "qx_font_normal" and "qx_font_large" from the first candidate
    // that loads (the "fonts" group must point at the fonts folder); false
    // when none does.
    static bool CreateFonts();
    // One stderr line naming the font files looked for.
    static void ReportMissingFonts();

protected:
    // The device the wall is drawn and picked with; null without a window.
    virtual RenderDevice* Device() const;

private:
    void LoadSchemeAndCursor();
    void StopDownloads();
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

    bool OnRootMouseMove(const CEGUI::EventArgs& e);
    bool OnRootCharacter(const CEGUI::EventArgs& e);
    bool OnRootKeyDown(const CEGUI::EventArgs& e);
    bool OnRootButtonDown(const CEGUI::EventArgs& e);
    bool OnRootButtonUp(const CEGUI::EventArgs& e);
    bool OnRootMouseLeave(const CEGUI::EventArgs& e);
    bool OnRootWheel(const CEGUI::EventArgs& e);
    bool OnRootClick(const CEGUI::EventArgs& e);
    bool OnPrevious(const CEGUI::EventArgs& e);
    bool OnNext(const CEGUI::EventArgs& e);
    bool OnFirst(const CEGUI::EventArgs& e);
    bool OnTenTimesPrevious(const CEGUI::EventArgs& e);
    bool OnTenTimesNext(const CEGUI::EventArgs& e);
    bool OnPlayStop(const CEGUI::EventArgs& e);
    bool OnFaster(const CEGUI::EventArgs& e);
    bool OnSlower(const CEGUI::EventArgs& e);

    void ShowLoadingBanner();
    // The narrowing both left-panel choices share: the record changed by
    // refine, the kept half of the left panel's data.
    void Narrow(const std::function<void(CTaobaoSearchParams&)>& refine, CTaobaoDataStore::BrowseKeep keep);
    void StartAutoPlay();
    // Auto-play continues while no product is open, and ends with the motion's.
    // resume: a product was open until this frame.
    void KeepAutoPlaying(bool resume);
    bool IsDetailWindowVisible() const;
    // In a shop, its name shows above the wall only while the first screen is in view.
    void FollowShopInfo();
    bool IsWallCovered() const;
    bool IsOnOtherWindow(const CEGUI::Vector2f& position) const;
    static bool IsOnWindow(const CEGUI::Window* window, const CEGUI::Vector2f& position);
    static bool IsInTextField(const CEGUI::Window* window);
    void EndDrag();
    static void DropFarWork();
    // A real card on the wall, or its work under way.
    static bool IsShownOrOnItsWay(int index);
    static void ReportQueuePeaks();
    void ReportScreenCompletion();
    bool IsScreenInViewComplete() const;
    void ContinueSetup();
    static void SetCursor(const char* classicImage);
    static void AnimateTo(CNumMotion& motion, double target, uint32_t now, uint32_t duration);

    void UpdateHoveredCard(uint32_t now);
    // On five frames out of six, removes far cards from the wall and tells
    // the render worker to forget them; true when it did.
    bool PostFarCards();

    uint32_t m_frameTime = 0;
    // The first visible index DisplayProduct was last called for.
    int m_lastFirstIndex = 0;
    CEGUI::Window* m_bigSmallButton = nullptr;
    CQX_NoticeDialog m_noticeDialog;
    CNumMotion m_cameraDistance;
    CNumMotion m_cameraTilt;
    // Where the mouse last came to rest: a move away restarts the pick's wait.
    float m_mouseX = 0;
    float m_mouseY = 0;
    uint32_t m_lastPickTick = 0;
    int m_frameCounter = 0;
    uint32_t m_lastInputTick = 0;
    bool m_completionReported = true;
    int m_completeFirstIndex = -1;
    uint32_t m_completeSinceTick = 0;
    CQX_WallNavigator m_navigator{*this};
    CQX_AutoPlay m_autoPlay;
    uint32_t m_nextPrefetchTick = 0;
    bool m_detailVisible = false;
    // Its three threads start with it and stop in Cleanup.
    CTaobaoDownloader* m_downloader = nullptr;
    CEGUI::Window* m_favoriteButton = nullptr;
    CEGUI::Window* m_todayButton = nullptr;
    CEGUI::Window* m_roamButton = nullptr;
    bool m_initialised = false;
    uint32_t m_initialisedTick = 0;
    bool m_setupFinished = false;
    // A render message ran since the last frame drawn.
    bool m_messageProcessed = false;
    // The notice board's change count when the overlay was last drawn.
    uint32_t m_noticeChangesDrawn = 0;
};
