#include "app/CQX_Entry.h"

#include "app/CommandLine.h"
#include "mainwnd/CQX_DialogChannel.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_MainWnd.h"
#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/Process.h"
#include "service/CQXRecommendCatalogue.h"
#include "service/CQXConfig.h"
#include "service/CQXUpgradeChecker.h"
#include "taobao/CTaobaoDataStore.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

std::string CQX_Entry::FeedbackCommandLine(const std::string& programDir, uint32_t userId)
{
    char buffer[1024];
    snprintf(buffer, sizeof(buffer), "%s/Feedback.exe %d.%d %u", programDir.c_str(), kMainVersion, kSubVersion,
             userId);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}

std::string CQX_Entry::ImageCacheDir(const std::string& programDir)
{
    const size_t slash = programDir.rfind('/');
    const std::string parent = slash == std::string::npos ? std::string() : programDir.substr(0, slash);
    return parent + "/datafiles/img/";
}

int CQX_Entry::Run(const CommandLine& commandLine)
{
    InstanceLock instance;
    if (!instance.Acquire())
        return 0;
    const std::string programDir = GetModuleDir();
    SetCurrentDir(programDir);

    CQX_GlobalVariable::getInstance();
    CQXRecommendCatalogue::getInstance();

    // The upgrade check decides on its own when it ends; the entry only reads
    // the feedback flag after the frame loop, and never waits for the thread.
    static std::atomic<bool> feedbackFlag{false};
    CQX_DialogChannel::RouteMessageBoxes(std::this_thread::get_id());
    std::thread(&CQXUpgradeChecker::UpgradeCheckThread, &feedbackFlag).detach();

    auto mainWnd = std::make_unique<CQX_MainWnd>();
    const int result = mainWnd->Run();
    CQX_DialogChannel::getInstance().Close();

    if (feedbackFlag.load())
        Process::Launch(FeedbackCommandLine(programDir, CQXConfig::getInstance().GetUserID()));
    DeleteFilesInDir(ImageCacheDir(programDir).c_str());
    CTaobaoDataStore::release();
    mainWnd.reset();
    return result;
}
