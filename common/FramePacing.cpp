#include "common/FramePacing.h"

#include "platform/Ticks.h"

int FramePacing::WaitAfterFrame(uint32_t frameStart, uint32_t now, uint32_t busyUntil, bool sceneMoving)
{
    if (TickBefore(now, busyUntil) || sceneMoving)
        return 0;
    const int32_t wait = static_cast<int32_t>(frameStart + kFrameMs - now);
    return wait > 0 ? wait : 0;
}
