#include "market/ServiceEndpoints.h"

#include "market/CatalogueDatabase.h"
#include "market/RecommendPackage.h"
#include "market/RequestParameters.h"
#include "market/XmlAnswerWriter.h"

#include <Poco/NumberParser.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace market {

ServiceEndpoints::ServiceEndpoints(CatalogueDatabase& database, const RecommendPackage& package,
                                   std::string statisticsLog)
    : database_(database), package_(package), statisticsLog_(std::move(statisticsLog))
{
}

HttpAnswer ServiceEndpoints::login(const std::string& formBody)
{
    unsigned clientUid = 0;
    try {
        Poco::NumberParser::tryParseUnsigned(RequestParameters::parse(formBody, true).get("uid"), clientUid);
    } catch (const std::invalid_argument&) {
        clientUid = 0;   // an unreadable body logs in as a new user
    }
    LoginAnswer answer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        loginBodies_.push_back(formBody);
        answer = answer_;
    }
    long long uid = answer.uid != 0 ? answer.uid : clientUid != 0 ? clientUid : database_.allocateUserId();

    XmlAnswerWriter writer("login");
    const std::pair<const char*, long long> fields[] = {{"r", answer.r},     {"uid", uid},     {"nrs", answer.nrs},
                                                        {"cmd", answer.cmd}, {"mv", answer.mv}, {"sv", answer.sv},
                                                        {"rv", answer.rv}};
    for (const auto& field : fields)
        XmlAnswerWriter::addText(writer.root(), field.first, std::to_string(field.second));
    HttpAnswer result;
    result.body = writer.str();
    return result;
}

HttpAnswer ServiceEndpoints::logout(const std::string& body)
{
    std::lock_guard<std::mutex> lock(mutex_);
    statisticsBodies_.push_back(body);
    if (!statisticsLog_.empty())
        std::ofstream(statisticsLog_, std::ios::binary | std::ios::app) << body << '\n';
    HttpAnswer result;
    result.contentType = "text/plain";
    result.body = "ok";
    return result;
}

HttpAnswer ServiceEndpoints::package(const MarketLinks& links) const
{
    HttpAnswer result;
    result.contentType = "application/zip";
    result.body = package_.zip(links, std::max(loginAnswer().rv, 1));
    return result;
}

void ServiceEndpoints::setLoginAnswer(const LoginAnswer& answer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    answer_ = answer;
}

LoginAnswer ServiceEndpoints::loginAnswer() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return answer_;
}

std::vector<std::string> ServiceEndpoints::loginBodies() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return loginBodies_;
}

std::vector<std::string> ServiceEndpoints::statisticsBodies() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return statisticsBodies_;
}

void ServiceEndpoints::clearRecords()
{
    std::lock_guard<std::mutex> lock(mutex_);
    loginBodies_.clear();
    statisticsBodies_.clear();
}

}
