#pragma once
#include <QuobrixVersion.h>

#include <cstdint>
#include <mutex>
#include <string>

// The settings kept in "config.ini" beside the program: the user id the
// service assigned, whether upgrade notices are wanted, and the bookkeeping of
// the last login. Every operation holds the configuration's lock.
class CQXConfig
{
public:
    static CQXConfig& getInstance();

    // A configuration over another file (tests); reads it at once.
    explicit CQXConfig(std::string path);

    void Load();
    // Writes the settings; does nothing once KeepFileUnchanged was called.
    void Save();
    // An upgrade that ends the program leaves the file as it was, so the next
    // start asks the service again; later Save calls of this run do nothing.
    void KeepFileUnchanged();
    void RecordLogin(uint32_t uid, int32_t nextRequestSeconds, uint8_t mainVersion, uint8_t subVersion);

    int64_t GetLastRequestTime() const;
    int64_t GetNextRequestTime() const;
    uint8_t GetLastReturnMainVersion() const;
    uint8_t GetLastReturnSubVersion() const;
    uint32_t GetUserID() const;
    bool GetKeepUpgradeNotify() const;
    void SetKeepUpgradeNotify(bool keep);
    const std::string& Path() const { return m_path; }

private:
    mutable std::mutex m_lock;
    int64_t m_lastRequestTime = 0;
    int64_t m_nextRequestTime = 0;
    uint8_t m_lastReturnMainVersion = QuobrixVersion::kMain;
    uint8_t m_lastReturnSubVersion = QuobrixVersion::kSub;
    uint32_t m_userId = 0;
    bool m_keepUpgradeNotify = true;
    std::string m_path;
    int64_t m_loadTime = 0;
    bool m_keepFileUnchanged = false;
};
