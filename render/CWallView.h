#pragma once
#include <atomic>

// What the render worker needs to know about the wall: which positions are
// on screen and whether the wall is moving. The render thread publishes it
// once per frame; the worker reads it without waiting for that thread. A
// value one frame old only changes the order in which cards are prepared.
class CWallView
{
public:
    // Positions first..first + screenCards are on screen.
    struct Range
    {
        int first;
        int last;
        int centre;
    };

    // Slots closer than this to the screen are kept; cards further away go.
    static constexpr int kKeptMargin = 40;

    static CWallView& getInstance();

    void Publish(int firstVisible, int screenCards, double scrollVelocity);

    Range VisibleRange() const;
    // Whether position lies within kKeptMargin of the screen.
    bool IsKept(int position) const;
    double ScrollVelocity() const { return m_velocity.load(); }

    CWallView() = default;
    CWallView(const CWallView&) = delete;
    CWallView& operator=(const CWallView&) = delete;

private:
    // The big layout at rest, until the first frame is drawn.
    std::atomic<int> m_firstVisible{0};
    std::atomic<int> m_screenCards{8};
    std::atomic<double> m_velocity{0};
};
