#include "mainwnd/CQX_AutoPlay.h"

#include "common/CEGuiCompat.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "panels/CButtonLooks.h"
#include "scene/CScrollMotion.h"

#include <algorithm>
#include <cstdio>

namespace {

const CButtonLooks kPlayLooks = {"set:PlayStop image:Play", "set:PlayStop image:PlayHight", "set:PlayStop image:Play",
                                 "自动滚屏，播放商品"};
const CButtonLooks kStopLooks = {"set:PlayStop image:Stop", "set:PlayStop image:StopHight", "set:PlayStop image:Stop",
                                 "暂停滚屏"};

}

void CQX_AutoPlay::Attach()
{
    m_playButton = CEGuiCompat::GetWindow("MotionControl/AutoPlayStopBtn");
    m_fasterButton = CEGuiCompat::GetWindow("MotionControl/FasterAutoMoveBtn");
    m_slowerButton = CEGuiCompat::GetWindow("MotionControl/SlowerAutoMoveBtn");
    m_speedText = CEGuiCompat::GetWindow("MotionControl/Text");
    m_fasterButton->hide();
    m_slowerButton->hide();
}

void CQX_AutoPlay::Start(CScrollMotion& motion, uint32_t now)
{
    m_on = true;
    Resume(motion, now);
    ShowButtons(true);
    ShowSpeedText(motion, true);
}

void CQX_AutoPlay::Resume(CScrollMotion& motion, uint32_t now)
{
    motion.nextImpulseTick = now + kFirstImpulseDelay;
    motion.autoPlay = true;
    motion.autoPlayEndTick = now + kDuration;
}

void CQX_AutoPlay::Stop(CScrollMotion& motion)
{
    if (!m_on)
        return;
    m_on = false;
    motion.autoPlay = false;
    ShowButtons(false);
    ShowSpeedText(motion, false);
}

void CQX_AutoPlay::ShowButtons(bool playing)
{
    (playing ? kStopLooks : kPlayLooks).ApplyTo(m_playButton);
    m_fasterButton->setVisible(playing);
    m_slowerButton->setVisible(playing);
    EnableSpeedButtons(CQX_GlobalVariable::getInstance().GetSpeedLevel());
}

void CQX_AutoPlay::EnableSpeedButtons(int level)
{
    m_fasterButton->setEnabled(level > kFastestLevel);
    m_slowerButton->setEnabled(level < kSlowestLevel);
}

void CQX_AutoPlay::Faster(CScrollMotion& motion)
{
    ChangeLevel(motion, -1);
}

void CQX_AutoPlay::Slower(CScrollMotion& motion)
{
    ChangeLevel(motion, +1);
}

void CQX_AutoPlay::ChangeLevel(CScrollMotion& motion, int step)
{
    auto& global = CQX_GlobalVariable::getInstance();
    const int level = std::clamp(global.GetSpeedLevel() + step, kFastestLevel, kSlowestLevel);
    global.SetSpeedLevel(level);
    EnableSpeedButtons(level);
    Rebase(motion, level);
    ShowSpeedText(motion, true);
}

void CQX_AutoPlay::Rebase(CScrollMotion& motion, int level)
{
    const uint32_t lastImpulse = motion.nextImpulseTick - static_cast<uint32_t>(motion.speedLevel) * kImpulseInterval;
    motion.autoPlayEndTick = lastImpulse + kDuration;
    motion.nextImpulseTick = lastImpulse + static_cast<uint32_t>(level) * kImpulseInterval;
    motion.speedLevel = level;
}

void CQX_AutoPlay::ShowSpeedText(const CScrollMotion& motion, bool on)
{
    m_speedText->setVisible(on);
    if (!on)
        return;
    char text[32];
    snprintf(text, sizeof(text), "%02d 秒/屏", static_cast<int>(motion.speedLevel * kImpulseInterval / 1000));
    m_speedText->setText(CEGuiCompat::Utf8(text));
}
