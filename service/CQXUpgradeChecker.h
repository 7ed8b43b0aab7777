#pragma once
#include <atomic>

// The start-up thread that decides whether the service is due to be asked,
// finishes the recommendation catalogue's update so the first frame can
// proceed, and announces newer versions.
class CQXUpgradeChecker
{
public:
    // The thread procedure; feedbackFlag is read by the entry after the frame loop.
    static void UpgradeCheckThread(std::atomic<bool>* feedbackFlag);

    // The optional upgrade notice. OK opens the download page and returns
    // true; Cancel turns further notices off and returns false.
    static bool AskForUpgrade();

    // Whether the stored version asks for the optional notice when no login is due.
    static bool NoticeWanted(bool keepUpgradeNotify, int mainVersion, int subVersion);
};
