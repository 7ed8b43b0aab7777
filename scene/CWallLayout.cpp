#include "scene/CWallLayout.h"

#include <algorithm>

const CWallLayout& CWallLayout::Big()
{
    static const CWallLayout layout{2, 4, 490, -550, 1.5f, 1.4f, -40};
    return layout;
}

const CWallLayout& CWallLayout::Small()
{
    static const CWallLayout layout{3, 6, 490, -200, 1.0f, 1.8f, -100};
    return layout;
}

int CWallLayout::FirstVisibleIndex(double scroll) const
{
    return static_cast<int>(std::max(0.0, scroll) / Pitch() * rows);
}

CWallLayout::Speed CWallLayout::SpeedOf(double velocity)
{
    if (velocity >= 0.03)
        return Speed::Forward;
    if (velocity <= -0.03)
        return Speed::Backward;
    return Speed::Resting;
}

void CWallLayout::DrawnRange(int first, Speed speed, int& begin, int& end) const
{
    const int screen = ScreenCount();
    if (speed == Speed::Backward) {
        begin = first - 2 * screen;
        end = first + screen + 2 * rows;
    } else {
        begin = first - screen;
        end = first + 2 * screen;
    }
}

D3DXVECTOR3 CWallLayout::CardOffset(int index) const
{
    const int column = index / rows;
    const int row = index % rows;
    return D3DXVECTOR3(static_cast<float>((column - columns / 2) * Pitch() + 38), -(row - rows / 2) * RowStep(), 0);
}

float CWallLayout::HoverLiftOf(int index) const
{
    const int row = RowOf(index);
    if (row == 0)
        return hoverLift;
    return row == rows - 1 ? -35.0f : -117.0f;
}
