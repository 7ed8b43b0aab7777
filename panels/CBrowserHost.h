#pragma once
#include <CEGUI/CEGUI.h>

#include <memory>
#include <string>

class CGuiPixelImage;
class HtmlView;

// Shows the product page over the detail window's HTML area: the stand-in
// for the embedded browser window. The page is laid out and drawn by an
// HtmlView and shown as the area's image, so it takes its place among the
// widgets (tooltips and the mouse pointer stay on top). The wheel scrolls
// it; a click on a link opens the link in the user's browser. There is at
// most one page; a new one replaces it.
class CBrowserHost
{
public:
    static constexpr int kWheelStepPixels = 60;
    static constexpr int kArrowStepPixels = 40;
    static constexpr const char* kPageImageName = "QuobrixDetailPage";

    CBrowserHost();
    ~CBrowserHost();
    CBrowserHost(const CBrowserHost&) = delete;
    CBrowserHost& operator=(const CBrowserHost&) = delete;

    // The area the page lies over; its pixel size is taken once, here.
    void Attach(CEGUI::Window* area);

    // A non-empty page (system code page) replaces the page on show; an
    // empty one removes it and clears the shown flag.
    void ShowHtml(const std::string& ansiHtml);
    void DestroyBrowserWindow();

    bool HasBrowserWindow() const { return m_view != nullptr; }
    bool IsShown() const { return m_shown; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Where the page on show is scrolled to, as last drawn.
    int ScrollTop() const { return m_scrollTop; }

    // The arrow, page and home/end keys scroll the page as in a browser;
    // false for any other key.
    bool ScrollByKey(CEGUI::Key::Scan key);

    // Once per frame: shows the newest drawing and opens clicked links.
    void Update();
    // For tests and measurements: waits until the page and its pictures are
    // drawn, then shows the result.
    bool WaitForPage(int timeoutMs);

private:
    bool OnMouseWheel(const CEGUI::EventArgs& e);
    bool OnMouseClick(const CEGUI::EventArgs& e);
    void ShowIdleImage();

    CEGUI::Window* m_area = nullptr;
    std::string m_idleImage;
    std::unique_ptr<HtmlView> m_view;
    std::unique_ptr<CGuiPixelImage> m_page;
    bool m_shown = false;
    int m_width = 0;
    int m_height = 0;
    int m_scrollTop = 0;
};
