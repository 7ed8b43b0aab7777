#include "render/CRenderDeviceLock.h"

#include "mainwnd/CQX_GlobalVariable.h"

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

CRenderDeviceLock::Scoped::Scoped() : m_guard(Mutex())
{
}

RenderDevice* CRenderDeviceLock::Scoped::Device() const
{
    return g_deviceUsable ? CQX_GlobalVariable::getInstance().GetDevice() : nullptr;
}
