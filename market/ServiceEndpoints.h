#pragma once

#include "market/HttpAnswer.h"

#include <QuobrixVersion.h>

#include <mutex>
#include <string>
#include <vector>

namespace market {

class CatalogueDatabase;
class MarketLinks;
class RecommendPackage;

// The login answer's values (elements r, uid, nrs, cmd, mv, sv, rv).
struct LoginAnswer {
    int r = 1;
    int uid = 0;        // 0: a new id for a client that sends uid 0, its own id otherwise
    int nrs = 86400;    // seconds until the next login
    int cmd = 0;        // 1 forced upgrade, 2 upgrade available, 4 feedback at exit
    int mv = QuobrixVersion::kMain;   // by default the version on offer is the client's own
    int sv = QuobrixVersion::kSub;
    int rv = 1;         // the package version on offer; "r.zip" carries it as "vol"
};

// The maker's service: "/quobrix/login.php", "/quobrix/logout.php" (every
// statistics body kept as received) and "/quobrix/r.zip".
class ServiceEndpoints {
public:
    ServiceEndpoints(CatalogueDatabase& database, const RecommendPackage& package, std::string statisticsLog);

    HttpAnswer login(const std::string& formBody);
    HttpAnswer logout(const std::string& body);
    HttpAnswer package(const MarketLinks& links) const;

    void setLoginAnswer(const LoginAnswer& answer);
    LoginAnswer loginAnswer() const;
    std::vector<std::string> loginBodies() const;
    std::vector<std::string> statisticsBodies() const;
    void clearRecords();

private:
    CatalogueDatabase& database_;
    const RecommendPackage& package_;
    std::string statisticsLog_;
    mutable std::mutex mutex_;
    LoginAnswer answer_;
    std::vector<std::string> loginBodies_;
    std::vector<std::string> statisticsBodies_;
};

}
