#include "service/CQXUpgradeChecker.h"

#include "common/CEGuiBaseApplication.h"
#include "platform/Browser.h"
#include "platform/MessageBox.h"
#include "service/CQXConfig.h"
#include "service/CQXRecommendCatalogue.h"
#include "service/CQXServiceHost.h"

namespace {

constexpr int kMainVersion = 2;
constexpr int kSubVersion = 6;

}

bool CQXUpgradeChecker::NoticeWanted(bool keepUpgradeNotify, int mainVersion, int subVersion)
{
    return (keepUpgradeNotify && mainVersion > kMainVersion) ||
           (mainVersion == kMainVersion && subVersion > kSubVersion);
}

bool CQXUpgradeChecker::AskForUpgrade()
{
    const MsgBoxResult answer =
        MessageBox::Show("Quobrix现在有新版本提供下载，点击确定将跳转到下载页面", "Quobrix升级通知",
                         MsgBoxButtons::OkCancel, MsgBoxIcon::Warning);
    if (answer == MsgBoxResult::Ok) {
        OpenURLInBrowser(CQXServiceHost::Url("/quobrix/download.htm"));
        return true;
    }
    CQXConfig::getInstance().SetKeepUpgradeNotify(false);
    return false;
}

void CQXUpgradeChecker::UpgradeCheckThread(std::atomic<bool>* feedbackFlag)
{
    feedbackFlag->store(false);
    CQXConfig& config = CQXConfig::getInstance();
    CQXRecommendCatalogue::getInstance().FinishUpdate(false);
    if (NoticeWanted(config.GetKeepUpgradeNotify(), config.GetLastReturnMainVersion(),
                     config.GetLastReturnSubVersion()) &&
        AskForUpgrade()) {
        CEGuiBaseApplication::SetQuitting(true);
        return;
    }
    config.Save();
}
