#pragma once
#include "platform/D3DXMath.h"

// How the cards stand on the wall: rows per column, visible columns, where
// the wall is anchored, the card scale, and the hovered card's extra scale
// and lift. Two layouts exist: big pictures (2 x 4) and small ones (3 x 6).
struct CWallLayout
{
    enum class Speed { Backward, Resting, Forward };

    static const CWallLayout& Big();
    static const CWallLayout& Small();

    int rows;
    int columns;
    float wallX;
    float wallY;
    float scale;
    float hoverScale;
    float hoverLift;

    // Distance between columns, in scroll units.
    int Pitch() const { return static_cast<int>(scale * 238 + 38); }
    float RowStep() const { return scale * 352 + 38; }
    // Cards on one screen.
    int ScreenCount() const { return rows * columns; }
    int FirstVisibleIndex(double scroll) const;
    // The scroll position that shows index first (before the cap is applied).
    double ScrollOfIndex(int index) const { return Pitch() * (static_cast<double>(index) / rows); }

    static Speed SpeedOf(double velocity);
    // The indices drawn around first visible index f: [begin, end). Moving
    // backward, more of what lies behind is drawn; otherwise more ahead.
    void DrawnRange(int first, Speed speed, int& begin, int& end) const;

    // Where card index stands in wall space, before its scaling.
    D3DXVECTOR3 CardOffset(int index) const;
    int RowOf(int index) const { return index % rows; }
    bool IsBottomRow(int index) const { return RowOf(index) == rows - 1; }
    // Vertical shift of the hovered card, in card units: its own for the top
    // row, -35 for the bottom row, -117 in between.
    float HoverLiftOf(int index) const;
};
