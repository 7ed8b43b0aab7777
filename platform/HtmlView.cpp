#include "platform/HtmlView.h"

#include "platform/HtmlLayoutThread.h"
#include "platform/HtmlResourceFetcher.h"

HtmlView::HtmlView(int width, int height)
    : m_id(HtmlLayoutThread::getInstance().OpenView()), m_width(width), m_height(height)
{
}

HtmlView::~HtmlView()
{
    HtmlLayoutThread::getInstance().CloseView(m_id);
}

void HtmlView::Load(const std::string& utf8Html)
{
    HtmlLayoutThread::getInstance().Load(m_id, utf8Html, m_width, m_height);
}

void HtmlView::ScrollBy(int pixels)
{
    HtmlLayoutThread::getInstance().ScrollBy(m_id, pixels);
}

void HtmlView::Click(int x, int y)
{
    HtmlLayoutThread::getInstance().Click(m_id, x, y);
}

bool HtmlView::TakeFrame(HtmlFrame& frame)
{
    return HtmlLayoutThread::getInstance().TakeFrame(m_id, frame);
}

bool HtmlView::TakeClickedLink(std::string& url)
{
    return HtmlLayoutThread::getInstance().TakeClickedLink(m_id, url);
}

bool HtmlView::WaitUntilSettled(int timeoutMs)
{
    return HtmlLayoutThread::getInstance().WaitUntilSettled(m_id, timeoutMs);
}

void HtmlView::Shutdown()
{
    HtmlLayoutThread::getInstance().Stop();
    HtmlResourceFetcher::getInstance().Stop();
}
