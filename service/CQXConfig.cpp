#include "service/CQXConfig.h"

#include "platform/FileSystem.h"
#include "platform/IniFile.h"

#include <ctime>

namespace {

const char* const kRequest = "Request";
const char* const kUserInfo = "UserInfo";

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
    static CQXConfig instance(GetModuleDir() + "/config.ini");
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
    m_lastReturnMainVersion = static_cast<uint8_t>(ini.GetInt(kRequest, "LastReturnMainVersion", 2));
    m_lastReturnSubVersion = static_cast<uint8_t>(ini.GetInt(kRequest, "LastReturnSubVersion", 6));
    m_userId = static_cast<uint32_t>(ini.GetInt(kUserInfo, "UserID", 0));
    m_keepUpgradeNotify = ini.GetInt(kUserInfo, "KeepUpgradeNotify", 1) != 0;
}

void CQXConfig::Save()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_keepFileUnchanged)
        return;
    IniFile ini(m_path);
    ini.WriteString(kRequest, "LastRequestTime", TimeText(m_lastRequestTime));
    ini.WriteString(kRequest, "NextRequestTime", TimeText(m_nextRequestTime));
    ini.WriteString(kRequest, "LastReturnMainVersion", std::to_string(m_lastReturnMainVersion));
    ini.WriteString(kRequest, "LastReturnSubVersion", std::to_string(m_lastReturnSubVersion));
    ini.WriteString(kUserInfo, "UserID", std::to_string(m_userId));
    ini.WriteString(kUserInfo, "KeepUpgradeNotify", m_keepUpgradeNotify ? "1" : "0");
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
