#include "service/CQXConfig.h"

#include "platform/AppFolders.h"
#include "platform/IniFile.h"
#include "platform/Log.h"
#include "platform/SafeFile.h"

#include <QuobrixVersion.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const char* const kRequest = "Request";
const char* const kUserInfo = "UserInfo";
const char* const kNetwork = "Network";
const char* const kPrivacy = "Privacy";
const char* const kSendUsageStatistics = "SendUsageStatistics";

// Times are stored as the low 32 bits and read back with a high part of 0.
int64_t ReadTime(const IniFile& ini, const char* key)
{
    return static_cast<int64_t>(static_cast<uint32_t>(ini.GetInt(kRequest, key, 0)));
}

std::string TimeText(int64_t seconds)
{
    return std::to_string(static_cast<uint32_t>(seconds));
}

}

CQXConfig& CQXConfig::getInstance()
{
    static CQXConfig instance(AppFolders::ConfigFile());
    return instance;
}

CQXConfig::CQXConfig(std::string path)
    : m_path(std::move(path))
{
    Load();
}

void CQXConfig::Load()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_loadTime = static_cast<int64_t>(std::time(nullptr));
    const IniFile ini(m_path);
    m_lastRequestTime = ReadTime(ini, "LastRequestTime");
    m_nextRequestTime = ReadTime(ini, "NextRequestTime");
    m_lastReturnMainVersion =
        static_cast<uint8_t>(ini.GetInt(kRequest, "LastReturnMainVersion", QuobrixVersion::kMain));
    m_lastReturnSubVersion = static_cast<uint8_t>(ini.GetInt(kRequest, "LastReturnSubVersion", QuobrixVersion::kSub));
    m_userId = static_cast<uint32_t>(ini.GetInt(kUserInfo, "UserID", 0));
    m_keepUpgradeNotify = ini.GetInt(kUserInfo, "KeepUpgradeNotify", 1) != 0;
    m_network.gatewayUrl = ini.GetString(kNetwork, "GatewayUrl", "");
    m_network.appKey = ini.GetString(kNetwork, "AppKey", "");
    m_network.appSecret = ini.GetString(kNetwork, "AppSecret", "");
    m_network.serviceUrl = ini.GetString(kNetwork, "ServiceUrl", "");
    m_sendStatistics = ini.GetInt(kPrivacy, kSendUsageStatistics, 1) != 0;
}

bool CQXConfig::Save()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_keepFileUnchanged)
        return true;
    if (m_savesHeld) {
        m_savePending = true;
        return true;
    }
    return SaveLocked();
}

// Every key is set in memory first and the file replaced once: a run never
// leaves a file with half of its values written.
bool CQXConfig::SaveLocked()
{
    IniFile ini(m_path);
    ini.Set(kRequest, "LastRequestTime", TimeText(m_lastRequestTime));
    ini.Set(kRequest, "NextRequestTime", TimeText(m_nextRequestTime));
    ini.Set(kRequest, "LastReturnMainVersion", std::to_string(m_lastReturnMainVersion));
    ini.Set(kRequest, "LastReturnSubVersion", std::to_string(m_lastReturnSubVersion));
    ini.Set(kUserInfo, "UserID", std::to_string(m_userId));
    ini.Set(kUserInfo, "KeepUpgradeNotify", m_keepUpgradeNotify ? "1" : "0");
    // Written even when on, so the user finds the switch in the file.
    ini.Set(kPrivacy, kSendUsageStatistics, m_sendStatistics ? "1" : "0");
    std::string error;
    if (!ini.Save(error)) {
        SafeFile::ReportFailure(m_path, error);
        return false;
    }
    Log::Info("saved " + m_path);
    return true;
}

void CQXConfig::HoldSaves()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_savesHeld = true;
}

void CQXConfig::ReleaseSaves()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_savesHeld = false;
    if (m_savePending && !m_keepFileUnchanged)
        SaveLocked();
    m_savePending = false;
}

void CQXConfig::KeepFileUnchanged()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_keepFileUnchanged = true;
}

void CQXConfig::RecordLogin(uint32_t uid, int32_t nextRequestSeconds, uint8_t mainVersion, uint8_t subVersion)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    m_lastReturnMainVersion = mainVersion;
    m_lastReturnSubVersion = subVersion;
    if (uid != 0 && uid != m_userId)
        m_userId = uid;
    m_lastRequestTime = now;
    m_nextRequestTime = now + nextRequestSeconds;
}

int64_t CQXConfig::GetLastRequestTime() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lastRequestTime;
}

int64_t CQXConfig::GetNextRequestTime() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_nextRequestTime;
}

uint8_t CQXConfig::GetLastReturnMainVersion() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lastReturnMainVersion;
}

uint8_t CQXConfig::GetLastReturnSubVersion() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_lastReturnSubVersion;
}

uint32_t CQXConfig::GetUserID() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_userId;
}

bool CQXConfig::GetKeepUpgradeNotify() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_keepUpgradeNotify;
}

void CQXConfig::SetKeepUpgradeNotify(bool keep)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_keepUpgradeNotify = keep;
}

CQXConfig::Network CQXConfig::GetNetwork() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_network;
}

bool CQXConfig::GetSendStatistics() const
{
    const char* over = getenv(kSendStatisticsVariable);
    if (over && *over)
        return std::strcmp(over, "0") != 0;
    std::lock_guard<std::mutex> guard(m_lock);
    return m_sendStatistics;
}
