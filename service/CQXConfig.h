#pragma once
#include <QuobrixVersion.h>

#include <cstdint>
#include <mutex>
#include <string>

// The settings kept in "config.ini": the user id the service assigned,
// whether upgrade notices are wanted, the bookkeeping of the last login, and
// what the user may set by hand: the addresses and credentials of the
// marketplace gateway and the service, and whether usage statistics are sent.
// Every operation holds the configuration's lock.
class CQXConfig
{
public:
    static CQXConfig& getInstance();

    // A configuration over another file (tests); reads it at once.
    explicit CQXConfig(std::string path);

    // What the user may set by hand in [Network]; "" where the file sets nothing.
    struct Network
    {
        std::string gatewayUrl;
        std::string appKey;
        std::string appSecret;
        std::string serviceUrl;
    };

    // The variable that overrides the file's choice on statistics ("0" or "1").
    static constexpr const char* kSendStatisticsVariable = "QUOBRIX_SEND_STATISTICS";

    void Load();
    // Writes the settings; does nothing once KeepFileUnchanged was called.
    // A file that cannot be written is reported (log, notice) and left as it
    // was; false then.
    bool Save();
    // Until ReleaseSaves, Save only remembers that it was asked: a start that
    // fails before the window opens leaves no file behind.
    void HoldSaves();
    // Saves now when a held Save was asked for.
    void ReleaseSaves();
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
    Network GetNetwork() const;
    // The file's choice (default on), unless $QUOBRIX_SEND_STATISTICS says otherwise.
    bool GetSendStatistics() const;
    const std::string& Path() const { return m_path; }

private:
    mutable std::mutex m_lock;
    int64_t m_lastRequestTime = 0;
    int64_t m_nextRequestTime = 0;
    uint8_t m_lastReturnMainVersion = QuobrixVersion::kMain;
    uint8_t m_lastReturnSubVersion = QuobrixVersion::kSub;
    uint32_t m_userId = 0;
    bool m_keepUpgradeNotify = true;
    Network m_network;
    bool m_sendStatistics = true;
    std::string m_path;
    int64_t m_loadTime = 0;
    bool m_keepFileUnchanged = false;
    bool m_savesHeld = false;
    bool m_savePending = false;

    bool SaveLocked();
};
