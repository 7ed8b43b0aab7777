#pragma once
#include "service/CQX_LoginReturn_Visitor.h"

#include <QuobrixVersion.h>

#include <atomic>
#include <cstdint>
#include <string>

class CQXRecommendCatalogue;

struct CQXLoginRequest
{
    uint32_t uid = 0;
    uint8_t mv = QuobrixVersion::kMain;
    uint8_t sv = QuobrixVersion::kSub;
};

// Where the package is saved and unpacked to.
struct CQXPackagePaths
{
    std::string package = "../datafiles/data/r.zip";
    std::string recommendFile = "../datafiles/data/recommend.xml";
};

struct CQXUsageReport
{
    uint32_t uid = 0;
    uint32_t us = 0;
    uint32_t sum = 0;
    uint32_t st = 0;
    uint32_t kt = 0;
    uint32_t dc = 0;
    uint32_t tc = 0;
    int recommendations = 0;
    std::string keywords;
    uint32_t actions[17] = {};
};

// The maker's service: the login with the recommendation package update, and
// the usage statistics at the end of a run that logged in.
class CQXLoginClientApi
{
public:
    // Answers, packages and package contents larger than these are refused
    // rather than read into memory.
    static constexpr size_t kMaxAnswerBytes = 1024 * 1024;
    static constexpr size_t kMaxPackageBytes = 4 * 1024 * 1024;
    static constexpr size_t kMaxRecommendFileBytes = 8 * 1024 * 1024;

    explicit CQXLoginClientApi(CQXRecommendCatalogue& catalogue, CQXPackagePaths paths = CQXPackagePaths());

    // Logs in and installs a newer package; finishes the catalogue's update in
    // every case. 0 when a whole answer arrived, -2 for one that does not
    // parse, the transport's negative code otherwise.
    int Call(const CQXLoginRequest& request);
    const CQXLoginReturn& Answer() const { return m_answer; }
    CQXRecommendCatalogue& Catalogue() { return m_catalogue; }

    // A login answer that parses whole, its command within the known bits;
    // false (answer untouched) for any other.
    static bool ReadAnswer(const std::string& text, CQXLoginReturn& answer);

    static int PostLogin(const std::string& body, std::string& answer);
    static int PostLogout(const std::string& body);
    // The whole package; its size, 0 (and an empty buffer) on failure.
    static size_t DownloadPackage(std::string& buffer);
    bool SavePackage(const std::string& buffer) const;
    // Extracts the package's content file into the recommendation file
    // (replaced only when the whole content was read). False for a damaged package.
    bool UnpackPackage() const;

    static std::string LoginBody(const CQXLoginRequest& request);
    static std::string UsageStatisticsBody(const CQXUsageReport& report);
    static CQXUsageReport CollectUsageReport();
    // Posts the statistics when this run logged in and the user has not
    // turned them off.
    static void SendUsageStatistics();

    static void SetServiceContacted() { s_serviceContacted.store(true); }
    static bool WasServiceContacted() { return s_serviceContacted.load(); }

private:
    CQXRecommendCatalogue& m_catalogue;
    CQXPackagePaths m_paths;
    CQXLoginReturn m_answer;
    static inline std::atomic<bool> s_serviceContacted{false};
};
