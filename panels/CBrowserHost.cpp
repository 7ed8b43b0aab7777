#include "panels/CBrowserHost.h"

#include "panels/CGuiPixelImage.h"
#include "panels/CPanelText.h"
#include "platform/Browser.h"
#include "platform/HtmlView.h"

#include <algorithm>

CBrowserHost::CBrowserHost() = default;

CBrowserHost::~CBrowserHost() = default;

void CBrowserHost::Attach(CEGUI::Window* area)
{
    m_area = area;
    m_idleImage = area->getProperty("Image").c_str();
    const CEGUI::Rectf rect = area->getUnclippedOuterRect().get();
    m_width = static_cast<int>(rect.right() - rect.left());
    m_height = static_cast<int>(rect.bottom() - rect.top());
    area->subscribeEvent(CEGUI::Window::EventMouseWheel, CEGUI::Event::Subscriber(&CBrowserHost::OnMouseWheel, this));
    area->subscribeEvent(CEGUI::Window::EventMouseClick, CEGUI::Event::Subscriber(&CBrowserHost::OnMouseClick, this));
}

void CBrowserHost::ShowHtml(const std::string& ansiHtml)
{
    if (ansiHtml.empty()) {
        m_shown = false;
        DestroyBrowserWindow();
        return;
    }
    DestroyBrowserWindow();
    m_shown = true;
    if (m_width <= 0 || m_height <= 0)
        return;
    m_view = std::make_unique<HtmlView>(m_width, m_height);
    m_view->Load(CPanelText::Utf8(ansiHtml));
}

void CBrowserHost::DestroyBrowserWindow()
{
    m_view.reset();
    m_scrollTop = 0;
    ShowIdleImage();
}

void CBrowserHost::ShowIdleImage()
{
    if (!m_area)
        return;
    m_area->setProperty("Image", m_idleImage);
    m_area->invalidate();
}

void CBrowserHost::Update()
{
    if (!m_view)
        return;
    HtmlFrame frame;
    if (m_view->TakeFrame(frame)) {
        if (!m_page)
            m_page = std::make_unique<CGuiPixelImage>(kPageImageName);
        m_page->SetPixels(frame.pixels);
        m_scrollTop = frame.scrollTop;
        m_area->setProperty("Image", m_page->Name());
        m_area->invalidate();
    }
    std::string link;
    while (m_view->TakeClickedLink(link))
        OpenURLInBrowser(link);
}

bool CBrowserHost::WaitForPage(int timeoutMs)
{
    if (!m_view || !m_view->WaitUntilSettled(timeoutMs))
        return false;
    Update();
    return true;
}

bool CBrowserHost::ScrollByKey(CEGUI::Key::Scan key)
{
    // Far enough to reach either end of any page; the view stops there.
    constexpr int kWholePage = 1 << 28;
    const int page = std::max(kArrowStepPixels, m_height - kArrowStepPixels);
    int pixels = 0;
    switch (key) {
    case CEGUI::Key::ArrowUp: pixels = -kArrowStepPixels; break;
    case CEGUI::Key::ArrowDown: pixels = kArrowStepPixels; break;
    case CEGUI::Key::PageUp: pixels = -page; break;
    case CEGUI::Key::PageDown: pixels = page; break;
    case CEGUI::Key::Home: pixels = -kWholePage; break;
    case CEGUI::Key::End: pixels = kWholePage; break;
    default: return false;
    }
    if (m_view)
        m_view->ScrollBy(pixels);
    return true;
}

bool CBrowserHost::OnMouseWheel(const CEGUI::EventArgs& e)
{
    const auto& mouse = static_cast<const CEGUI::MouseEventArgs&>(e);
    if (m_view)
        m_view->ScrollBy(static_cast<int>(-mouse.wheelChange * kWheelStepPixels));
    return true;
}

bool CBrowserHost::OnMouseClick(const CEGUI::EventArgs& e)
{
    const auto& mouse = static_cast<const CEGUI::MouseEventArgs&>(e);
    if (!m_view || mouse.button != CEGUI::LeftButton)
        return true;
    const CEGUI::Rectf rect = m_area->getUnclippedOuterRect().get();
    m_view->Click(static_cast<int>(mouse.position.d_x - rect.left()), static_cast<int>(mouse.position.d_y - rect.top()));
    return true;
}
