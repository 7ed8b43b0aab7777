#include "app/CQX_Entry.h"

#include "app/CQX_UserFolders.h"
#include "app/CommandLine.h"
#include "mainwnd/CQX_DialogChannel.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "mainwnd/CQX_MainWnd.h"
#include "platform/FileSystem.h"
#include "platform/InstanceLock.h"
#include "platform/Log.h"
#include "platform/Process.h"
#include "platform/SafeFile.h"
#include "platform/UserNotice.h"
#include "service/CQXConfig.h"
#include "service/CQXRecommendCatalogue.h"
#include "service/CQXServiceHost.h"
#include "service/CQXUpgradeChecker.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/CTaobaoGateway.h"

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

int CQX_Entry::Run(const CommandLine& commandLine)
{
    InstanceLock instance;
    if (!instance.Acquire())
        return 0;
    const std::string programDir = GetModuleDir();
    SetCurrentDir(programDir);
    const AppFolders folders = AppFolders::ForUser(programDir);
    AppFolders::Use(folders);
    const std::vector<std::string> folderProblems = CQX_UserFolders::Prepare(folders, programDir);
    StartLog(folders, commandLine.verbose);
    CQXConfig& config = CQXConfig::getInstance();
    // The upgrade check saves the settings as soon as it has logged in; a
    // start that fails before the window opens must leave no file behind.
    config.HoldSaves();
    UseNetworkSettings(config);

    CQX_GlobalVariable::getInstance();
    CQXRecommendCatalogue::getInstance();

    // The upgrade check decides on its own when it ends; the entry only reads
    // the feedback flag after the frame loop, and never waits for the thread.
    static std::atomic<bool> feedbackFlag{false};
    CQX_DialogChannel::RouteMessageBoxes(std::this_thread::get_id());
    for (const std::string& problem : folderProblems)
        UserNotice::Post(problem);
    std::thread(&CQXUpgradeChecker::UpgradeCheckThread, &feedbackFlag).detach();

    auto mainWnd = std::make_unique<CQX_MainWnd>();
    const int result = mainWnd->Run();
    CQX_DialogChannel::getInstance().Close();

    if (feedbackFlag.load())
        Process::Launch(FeedbackCommandLine(programDir, config.GetUserID()));
    DeleteFilesInDir(AppFolders::Resolve(kImageCacheDir).c_str());
    const bool listsSaved = CTaobaoDataStore::release();
    mainWnd.reset();
    // The settings and the package were saved during the run; any file of
    // the user's that could not be saved makes a failed run.
    const bool everythingSaved = listsSaved && !SafeFile::AnyFailed();
    const int exitCode = result != 0 ? result : (everythingSaved ? 0 : 1);
    Log::Info("quobrix ends with exit code " + std::to_string(exitCode) +
              (everythingSaved ? "" : "; a file could not be saved"));
    Log::Close();
    return exitCode;
}

void CQX_Entry::StartLog(const AppFolders& folders, bool verbose)
{
    std::string error;
    if (!Log::Open(folders.stateDir, verbose, error))
        fprintf(stderr, "quobrix: no log in %s: %s\n", folders.stateDir.c_str(), error.c_str());
    Log::Info(std::string("quobrix ") + QuobrixVersion::kString + " starts");
    Log::Info("data " + folders.dataRoot + "; settings " + AppFolders::ConfigFile() + "; lists " + folders.dataDir +
              "; cache " + folders.cacheDir);
}

void CQX_Entry::UseNetworkSettings(const CQXConfig& config)
{
    const CQXConfig::Network network = config.GetNetwork();
    CTaobaoGateway::use({network.gatewayUrl, network.appKey, network.appSecret});
    const CTaobaoGateway gateway = CTaobaoGateway::current();
    Log::Info("gateway " + gateway.url + " (app key " + gateway.appKey + "); service " + CQXServiceHost::BaseUrl() +
              "; usage statistics " + (config.GetSendStatistics() ? "on" : "off"));
}
