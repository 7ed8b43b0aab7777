#include "service/CQXUpgradeChecker.h"

#include "common/CEGuiBaseApplication.h"
#include "platform/Browser.h"
#include "platform/MessageBox.h"
#include "platform/ThreadFaults.h"
#include "service/CQXConfig.h"
#include "service/CQXLoginClientApi.h"
#include "service/CQXRecommendCatalogue.h"
#include "service/CQXServiceHost.h"

#include <QuobrixVersion.h>
#include <unistd.h>

#include <ctime>

namespace {

constexpr int kMainVersion = QuobrixVersion::kMain;
constexpr int kSubVersion = QuobrixVersion::kSub;
const char* const kUpgradeCaption = "Quobrix升级通知";

void OpenDownloadPage()
{
    OpenURLInBrowser(CQXServiceHost::Url("/quobrix/download.htm"));
}

}

bool CQXUpgradeChecker::NoticeWanted(bool keepUpgradeNotify, int mainVersion, int subVersion)
{
    return (keepUpgradeNotify && mainVersion > kMainVersion) ||
           (mainVersion == kMainVersion && subVersion > kSubVersion);
}

bool CQXUpgradeChecker::IsSmallMemory(uint64_t physicalMemoryBytes)
{
    // Zero is memory that could not be read, not a small machine.
    const uint64_t wholeMiB = physicalMemoryBytes / (1024 * 1024) * (1024 * 1024);
    return physicalMemoryBytes > 0 && wholeMiB < kSmallMemoryBytes;
}

uint64_t CQXUpgradeChecker::PhysicalMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0 ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) : 0;
}

bool CQXUpgradeChecker::AskForUpgrade(CQXConfig& config)
{
    const MsgBoxResult answer = MessageBox::Show("Quobrix现在有新版本提供下载，点击确定将跳转到下载页面",
                                                 kUpgradeCaption, MsgBoxButtons::OkCancel, MsgBoxIcon::Warning);
    if (answer == MsgBoxResult::Ok) {
        OpenDownloadPage();
        return true;
    }
    // A notice nobody saw is asked again at the next start.
    if (answer == MsgBoxResult::Cancel)
        config.SetKeepUpgradeNotify(false);
    return false;
}

void CQXUpgradeChecker::UpgradeCheckThread(std::atomic<bool>* feedbackFlag)
{
    CQXRecommendCatalogue& catalogue = CQXRecommendCatalogue::getInstance();
    ThreadFaults::Run("upgrade check", [&] {
        CQXLoginClientApi api(catalogue);
        Check(CQXConfig::getInstance(), api, *feedbackFlag, PhysicalMemoryBytes());
    });
    // The first frame waits for the catalogue: a check that failed half way still lets it go.
    if (!catalogue.IsReady())
        catalogue.FinishUpdate(false);
}

void CQXUpgradeChecker::Check(CQXConfig& config, CQXLoginClientApi& api, std::atomic<bool>& feedbackFlag,
                              uint64_t physicalMemoryBytes)
{
    feedbackFlag.store(false);
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    if (now > config.GetNextRequestTime())
        LoginAndAnnounce(config, api, feedbackFlag, physicalMemoryBytes);
    else
        AnnounceWithoutLogin(config, api);
}

void CQXUpgradeChecker::LoginAndAnnounce(CQXConfig& config, CQXLoginClientApi& api, std::atomic<bool>& feedbackFlag,
                                         uint64_t physicalMemoryBytes)
{
    CQXLoginClientApi::SetServiceContacted();
    CQXLoginRequest request;
    request.uid = config.GetUserID();
    if (request.uid == 0 && IsSmallMemory(physicalMemoryBytes))
        MessageBox::Show("很抱歉，您的内存较小，使用中可能会感觉较卡。", "Quobrix提示", MsgBoxButtons::Ok,
                         MsgBoxIcon::Information);

    api.Call(request);
    const CQXLoginReturn& answer = api.Answer();
    config.RecordLogin(static_cast<uint32_t>(answer.uid), answer.nrs, answer.mv, answer.sv);

    if (answer.cmd & 1) {
        // The program ends either way; only a notice the user saw opens the page.
        if (MessageBox::Show("Quobrix程序必须升级才可以继续使用，点击确定将跳转到下载页面", kUpgradeCaption,
                             MsgBoxButtons::Ok, MsgBoxIcon::Warning) == MsgBoxResult::Ok)
            OpenDownloadPage();
        QuitForUpgrade(config);
        return;
    }
    if ((answer.cmd & 2) && config.GetKeepUpgradeNotify() && AskForUpgrade(config)) {
        QuitForUpgrade(config);
        return;
    }
    feedbackFlag.store((answer.cmd & 4) != 0);
    config.Save();
}

void CQXUpgradeChecker::AnnounceWithoutLogin(CQXConfig& config, CQXLoginClientApi& api)
{
    api.Catalogue().FinishUpdate(false);
    if (NoticeWanted(config.GetKeepUpgradeNotify(), config.GetLastReturnMainVersion(),
                     config.GetLastReturnSubVersion()) &&
        AskForUpgrade(config)) {
        QuitForUpgrade(config);
        return;
    }
    config.Save();
}

void CQXUpgradeChecker::QuitForUpgrade(CQXConfig& config)
{
    config.KeepFileUnchanged();
    CEGuiBaseApplication::SetQuitting(true);
}
