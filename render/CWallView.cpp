#include "render/CWallView.h"

CWallView& CWallView::getInstance()
{
    static CWallView instance;
    return instance;
}

void CWallView::Publish(int firstVisible, int screenCards, double scrollVelocity)
{
    m_firstVisible.store(firstVisible);
    m_screenCards.store(screenCards);
    m_velocity.store(scrollVelocity);
}

CWallView::Range CWallView::VisibleRange() const
{
    const int first = m_firstVisible.load();
    const int last = first + m_screenCards.load();
    return Range{first, last, (first + last) / 2};
}

bool CWallView::IsKept(int position) const
{
    const Range visible = VisibleRange();
    return visible.first - kKeptMargin <= position && position <= visible.last + kKeptMargin;
}
