#pragma once
#include "platform/HtmlContainer.h"
#include "platform/HtmlLayoutBudget.h"
#include "platform/PixelImage.h"

#include <litehtml.h>

#include <atomic>
#include <string>
#include <vector>

class HtmlResourceFetcher;

// One product page laid out at the width of its view: parsed from the page
// text, drawn one viewport at a time at the current scroll position. Not
// thread-safe; the layout thread owns it. Each step works within a layout
// budget: a page the engine fails on, or that goes over its budget, shows a
// short plain-text version of its description instead, and a page whose
// work is abandoned becomes empty. Nothing escapes to the caller.
class HtmlPage
{
public:
    static constexpr uint32_t kBackground = 0xFFFFFFFF;
    static constexpr int kScrollBarWidth = 6;
    static constexpr size_t kFallbackTextBytes = 4000;

    // The page's work stops as soon as *abandoned is true (may be null).
    HtmlPage(HtmlResourceFetcher& resources, int width, int height, const std::atomic<bool>* abandoned = nullptr);
    ~HtmlPage();
    HtmlPage(const HtmlPage&) = delete;
    HtmlPage& operator=(const HtmlPage&) = delete;

    void SetLimits(HtmlLayoutBudget::Limits limits) { m_limits = limits; }

    // Parses and lays out the page (UTF-8); false when nothing of it can be
    // shown, which leaves the page empty.
    bool Load(const std::string& utf8Html);
    // Lays the page out again, as pictures that arrived change its boxes,
    // and makes it again from its text once a style sheet has arrived.
    void Relayout();
    bool IsEmpty() const { return !m_document; }
    // Whether the plain-text version is shown in place of the page.
    bool IsFallback() const { return m_fallback; }
    // How the last step of work ended, and the most memory any step took
    // since the page was loaded.
    HtmlLayoutBudget::Verdict LastVerdict() const { return m_verdict; }
    int64_t PeakBytes() const { return m_peakBytes; }

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
    // Runs one step of work within a fresh budget; false when it failed or
    // went over.
    template <typename Work>
    bool WithinBudget(Work work);
    bool Build(const std::string& page);
    bool ShowFallback();
    void Layout();
    void ClampScroll();
    void DrawScrollBar(HtmlPainter& painter) const;
    void Discard();

    HtmlContainer m_container;
    const std::atomic<bool>* m_abandoned;
    HtmlLayoutBudget::Limits m_limits = HtmlLayoutBudget::kPageLimits;
    HtmlLayoutBudget::Verdict m_verdict = HtmlLayoutBudget::Verdict::Within;
    int64_t m_peakBytes = 0;
    std::string m_text;     // as the seller wrote it
    std::string m_source;   // what the document is made from
    bool m_fallback = false;
    litehtml::document::ptr m_document;
    int m_width;
    int m_height;
    int m_scrollTop = 0;
    int m_contentHeight = 0;
};
