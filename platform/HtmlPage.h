#pragma once
#include "platform/HtmlContainer.h"
#include "platform/PixelImage.h"

#include <litehtml.h>

#include <string>
#include <vector>

class HtmlPictureFetcher;

// One product page laid out at the width of its view: parsed from the page
// text, drawn one viewport at a time at the current scroll position. Not
// thread-safe; the layout thread owns it. A page the engine fails on becomes
// an empty page: nothing escapes to the caller.
class HtmlPage
{
public:
    static constexpr uint32_t kBackground = 0xFFFFFFFF;
    static constexpr int kScrollBarWidth = 6;

    HtmlPage(HtmlPictureFetcher& pictures, int width, int height);
    ~HtmlPage();
    HtmlPage(const HtmlPage&) = delete;
    HtmlPage& operator=(const HtmlPage&) = delete;

    // Parses and lays out the page (UTF-8); false when it cannot be shown,
    // which leaves the page empty.
    bool Load(const std::string& utf8Html);
    // Lays the page out again, as pictures that arrived change its boxes.
    void Relayout();
    bool IsEmpty() const { return !m_document; }

    void ScrollBy(int pixels);
    int ScrollTop() const { return m_scrollTop; }
    int ContentHeight() const { return m_contentHeight; }

    // The visible part of the page, with a scroll bar when it is taller.
    PixelImage Draw();
    // A left click at view coordinates; links it hits are collected.
    void Click(int x, int y);
    std::vector<std::string> TakeClickedLinks() { return m_container.TakeClickedLinks(); }

private:
    static litehtml::context& SharedContext();
    void Layout();
    void ClampScroll();
    void DrawScrollBar(HtmlPainter& painter) const;
    void Discard();

    HtmlContainer m_container;
    litehtml::document::ptr m_document;
    int m_width;
    int m_height;
    int m_scrollTop = 0;
    int m_contentHeight = 0;
};
