#pragma once

// A window that render messages act on, found through the one instance that
// registered itself. Registration and use both happen on the render thread.
template <typename Target>
class CRegisteredTarget
{
public:
    static Target* Get() { return s_target; }
    static void Set(Target* target) { s_target = target; }

private:
    static inline Target* s_target = nullptr;
};
