#pragma once
#include <mutex>

class RenderDevice;

// The device lock and the device-usable flag: texture work off the main thread
// holds the lock and touches the device only while the flag is true; shutdown
// clears the flag under the lock, so no texture is made on a dying device.
class CRenderDeviceLock
{
public:
    static std::mutex& Mutex();
    // Read it only while holding Mutex().
    static bool IsDeviceUsable();
    static void SetDeviceUsable(bool usable);

    // Holds the lock for its lifetime and offers the device while it may be used.
    class Scoped
    {
    public:
        Scoped();
        // Null when the device is gone, going, or not created yet.
        RenderDevice* Device() const;

    private:
        std::lock_guard<std::mutex> m_guard;
    };
};
