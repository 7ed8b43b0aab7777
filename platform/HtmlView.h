#pragma once
#include "platform/HtmlFrame.h"

#include <string>

// A product page shown in a rectangle of the window: the stand-in for an
// embedded web browser. It takes the page as UTF-8 text, lays it out and
// draws it off the calling thread, fetches its pictures in the background
// and redraws as they arrive, scrolls, and reports the links clicked. It runs
// no script and offers no menu. The caller shows the frames it takes.
// At most one view shows a page at a time: a newer view replaces the page
// of an older one, which then stays empty. Every call returns at once.
class HtmlView
{
public:
    HtmlView(int width, int height);
    ~HtmlView();
    HtmlView(const HtmlView&) = delete;
    HtmlView& operator=(const HtmlView&) = delete;

    void Load(const std::string& utf8Html);
    // Positive pixels move the page up (further down the page).
    void ScrollBy(int pixels);
    // A left click at view coordinates.
    void Click(int x, int y);

    // The newest frame drawn since the last call, if any.
    bool TakeFrame(HtmlFrame& frame);
    // A link the user clicked (http or https only), oldest first.
    bool TakeClickedLink(std::string& url);
    // Blocks until the page and its pictures are drawn; false on time-out.
    // For tests and measurements only: the program never waits for a page.
    bool WaitUntilSettled(int timeoutMs);

    // Ends the layout and picture threads at program end.
    static void Shutdown();

private:
    int m_id;
    int m_width;
    int m_height;
};
