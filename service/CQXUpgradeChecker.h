#pragma once
#include <atomic>
#include <cstdint>

class CQXConfig;
class CQXLoginClientApi;

// The start-up thread: logs in to the service when a login is due (which also
// brings a newer recommendation package), warns about small memory on a first
// run, announces newer versions or enforces a mandatory upgrade, and always
// finishes the recommendation catalogue's update so the first frame can proceed.
class CQXUpgradeChecker
{
public:
    static constexpr uint64_t kSmallMemoryBytes = 268435456;

    // The thread procedure; feedbackFlag is read by the entry after the frame loop.
    static void UpgradeCheckThread(std::atomic<bool>* feedbackFlag);
    // The same on a given configuration and service client (whose catalogue
    // is finished in every case).
    static void Check(CQXConfig& config, CQXLoginClientApi& api, std::atomic<bool>& feedbackFlag,
                      uint64_t physicalMemoryBytes);

    // The optional upgrade notice. OK opens the download page and returns
    // true; Cancel turns further notices off and returns false.
    static bool AskForUpgrade(CQXConfig& config);

    // Whether the stored version asks for the optional notice when no login is due.
    static bool NoticeWanted(bool keepUpgradeNotify, int mainVersion, int subVersion);
    // Total physical memory, rounded down to whole MiB, is below 256 MiB.
    static bool IsSmallMemory(uint64_t physicalMemoryBytes);
    // 0 when the system does not tell.
    static uint64_t PhysicalMemoryBytes();

private:
    static void LoginAndAnnounce(CQXConfig& config, CQXLoginClientApi& api, std::atomic<bool>& feedbackFlag,
                                 uint64_t physicalMemoryBytes);
    static void AnnounceWithoutLogin(CQXConfig& config, CQXLoginClientApi& api);
    static void QuitForUpgrade(CQXConfig& config);
};
