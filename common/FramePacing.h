#pragma once
#include <cstdint>

// How long the frame loop rests after a frame: an idle wall is held to one
// frame per 25 ms, while a moving wall or a recently used control runs freely.
class FramePacing
{
public:
    static constexpr int kFrameMs = 25;

    // frameStart: the tick the frame began; now: the tick after presenting.
    // Returns the milliseconds to wait, 0 when the next frame should start at once.
    static int WaitAfterFrame(uint32_t frameStart, uint32_t now, uint32_t busyUntil, bool sceneMoving);
};
