#pragma once
#include <mutex>

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
};
