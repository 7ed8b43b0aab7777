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
    void ActivateRoamButton();
    void WaitForRecommendCatalogue();

    bool OnClose(const CEGUI::EventArgs& e);
    bool OnAboutUs(const CEGUI::EventArgs& e);

    uint32_t m_frameTime = 0;
    CEGUI::Window* m_favoriteButton = nullptr;
    CEGUI::Window* m_todayButton = nullptr;
    CEGUI::Window* m_roamButton = nullptr;
    bool m_initialised = false;
};
