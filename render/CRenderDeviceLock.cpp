#include "render/CRenderDeviceLock.h"

namespace {
bool g_deviceUsable = true;
}

std::mutex& CRenderDeviceLock::Mutex()
{
    static std::mutex lock;
    return lock;
}

bool CRenderDeviceLock::IsDeviceUsable()
{
    return g_deviceUsable;
}

void CRenderDeviceLock::SetDeviceUsable(bool usable)
{
    g_deviceUsable = usable;
}
