#pragma once
#include <CEGUI/CEGUI.h>

#include <cstdint>

class CScrollMotion;

// Auto-play: the wall moves on by one screen every few seconds (the speed
// level times 4 seconds) for up to three minutes. The play/stop button, the
// faster and slower buttons and the seconds-per-screen text show its state.
class CQX_AutoPlay
{
public:
    static constexpr int kFastestLevel = 1;
    static constexpr int kSlowestLevel = 10;
    static constexpr uint32_t kImpulseInterval = 4000;
    static constexpr uint32_t kDuration = 180000;
    static constexpr uint32_t kFirstImpulseDelay = 300;

    void Attach();
    bool IsOn() const { return m_on; }

    // The motion takes over: first push soon, end in three minutes.
    void Start(CScrollMotion& motion, uint32_t now);
    void Stop(CScrollMotion& motion);
    // Continues after a pause (the motion's flag was cleared while a product was open).
    static void Resume(CScrollMotion& motion, uint32_t now);
    void Faster(CScrollMotion& motion);
    void Slower(CScrollMotion& motion);
    // The motion's schedule moves to a new speed level, keeping its last push.
    static void Rebase(CScrollMotion& motion, int level);
    void ShowSpeedText(const CScrollMotion& motion, bool on);

private:
    void ShowButtons(bool playing);
    void EnableSpeedButtons(int level);
    void ChangeLevel(CScrollMotion& motion, int step);

    CEGUI::Window* m_playButton = nullptr;
    CEGUI::Window* m_fasterButton = nullptr;
    CEGUI::Window* m_slowerButton = nullptr;
    CEGUI::Window* m_speedText = nullptr;
    bool m_on = false;
};
