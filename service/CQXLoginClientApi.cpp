#include "service/CQXLoginClientApi.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/AppFolders.h"
#include "platform/BoundedBodyReader.h"
#include "platform/Log.h"
#include "platform/NetworkFailure.h"
#include "platform/SafeFile.h"
#include "platform/HttpSessionFactory.h"
#include "platform/SessionInterrupter.h"
#include "platform/Ticks.h"
#include "service/CQXConfig.h"
#include "service/CQXRecommendCatalogue.h"
#include "service/CQXServiceHost.h"
#include "taobao/TaobaoXml.h"

#include <Poco/Exception.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/URI.h>
#include <Poco/Zip/ZipArchive.h>
#include <Poco/Zip/ZipStream.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>

namespace {

const Poco::Timespan kTimeout(3, 0);
// The statistics go out while the program ends: quitting never waits longer
// than this for a service that does not take them.
const Poco::Timespan kStatisticsTimeout(0, 500 * 1000);
// However fast its bytes come, a service answer ends within this time.
constexpr std::chrono::milliseconds kMaxAnswerTime(10000);

struct ServiceRequest
{
    std::unique_ptr<Poco::Net::HTTPClientSession> session;
    std::string url;
    std::string path;
};

ServiceRequest OpenSession(const std::string& file, Poco::Timespan timeout = kTimeout)
{
    ServiceRequest request;
    request.url = CQXServiceHost::Url("/quobrix/" + file);
    const Poco::URI uri(request.url);
    request.session = HttpSessionFactory::Open(uri);
    request.session->setTimeout(timeout);
    request.path = uri.getPathEtc();
    return request;
}

void SendForm(ServiceRequest& request, const std::string& body)
{
    Poco::Net::HTTPRequest post(Poco::Net::HTTPRequest::HTTP_POST, request.path, Poco::Net::HTTPMessage::HTTP_1_1);
    post.setContentLength(static_cast<std::streamsize>(body.size()));
    post.setContentType("application/x-www-form-urlencoded");
    std::ostream& out = request.session->sendRequest(post);
    out << body;
    out.flush();
}

// An answer past its cap or its time is no answer: nothing of it is kept.
bool ReadWithin(std::istream& in, size_t maxBytes, std::string& body)
{
    const bool whole = BoundedBodyReader({maxBytes, kMaxAnswerTime}).Read(in, body);
    if (!whole)
        body.clear();
    return whole;
}

// The package's content file, found by its name: whatever else a package
// holds is never installed in its place.
const Poco::Zip::ZipLocalFileHeader* ContentEntry(const Poco::Zip::ZipArchive& archive)
{
    for (auto it = archive.headerBegin(); it != archive.headerEnd(); ++it) {
        if (it->second.isFile() && Poco::Path(it->first).getFileName() == "recommend.xml")
            return &it->second;
    }
    return nullptr;
}

// Reads a whole document only: from a damaged one nothing is acted on.
bool IsWholeDocument(const std::string& bytes)
{
    TiXmlVisitor nothing;
    return TaobaoXml::walk(bytes, nothing);
}


}

CQXLoginClientApi::CQXLoginClientApi(CQXRecommendCatalogue& catalogue, CQXPackagePaths paths)
    : m_catalogue(catalogue), m_paths(std::move(paths))
{
    m_paths.package = AppFolders::Resolve(m_paths.package);
    m_paths.recommendFile = AppFolders::Resolve(m_paths.recommendFile);
}

std::string CQXLoginClientApi::LoginBody(const CQXLoginRequest& request)
{
    char body[64];
    snprintf(body, sizeof(body), "uid=%u&mv=%u&sv=%u", request.uid, static_cast<unsigned>(request.mv),
             static_cast<unsigned>(request.sv));
    return body;
}

bool CQXLoginClientApi::ReadAnswer(const std::string& text, CQXLoginReturn& answer)
{
    CQXLoginReturn read;
    CQX_LoginReturn_Visitor visitor(read);
    if (!TaobaoXml::walk(text, visitor)) {
        Log::Warning("service login answer does not parse; nothing in it is acted on");
        return false;
    }
    // The bits 1, 2 and 4 are all a command can be; anything else is no command.
    if (read.cmd < 0 || read.cmd > 7) {
        Log::Warning("service login answer with the unknown command " + std::to_string(read.cmd) + " ignored");
        read.cmd = 0;
    }
    answer = read;
    return true;
}

int CQXLoginClientApi::Call(const CQXLoginRequest& request)
{
    std::string answerText;
    const int result = PostLogin(LoginBody(request), answerText);
    if (result < 0) {
        m_catalogue.FinishUpdate(false);
        return result;
    }
    if (!ReadAnswer(answerText, m_answer)) {
        m_catalogue.FinishUpdate(false);
        return -2;
    }

    bool updated = false;
    if (m_catalogue.PackageVersion() < m_answer.rv) {
        std::string package;
        if (DownloadPackage(package) > 0 && SavePackage(package))
            updated = UnpackPackage();
    }
    m_catalogue.FinishUpdate(updated);
    return 0;
}

int CQXLoginClientApi::PostLogin(const std::string& body, std::string& answer)
{
    answer.clear();
    const char* const what = "service login";
    try {
        ServiceRequest request = OpenSession("login.php");
        SendForm(request, body);
        const SessionInterrupter::Waiting waiting(*request.session);
        Poco::Net::HTTPResponse response;
        std::istream& in = request.session->receiveResponse(response);
        if (!ReadWithin(in, kMaxAnswerBytes, answer)) {
            NetworkFailure::Report(what, request.url, "answer past its size or time limit");
            return -1;
        }
    } catch (const std::exception& failure) {
        NetworkFailure::Report(what, CQXServiceHost::Url("/quobrix/login.php"), NetworkFailure::Reason(failure));
        return -1;
    }
    return answer.empty() ? -2 : 0;
}

int CQXLoginClientApi::PostLogout(const std::string& body)
{
    try {
        ServiceRequest request = OpenSession("logout.php", kStatisticsTimeout);
        SendForm(request, body);
        Sleep(50);
        request.session->reset();
    } catch (const std::exception& failure) {
        NetworkFailure::Report("usage statistics", CQXServiceHost::Url("/quobrix/logout.php"),
                               NetworkFailure::Reason(failure));
        return -1;
    }
    Log::Info("usage statistics sent");
    return 0;
}

size_t CQXLoginClientApi::DownloadPackage(std::string& buffer)
{
    buffer.clear();
    const char* const what = "recommendation package";
    try {
        ServiceRequest request = OpenSession("r.zip");
        Poco::Net::HTTPRequest get(Poco::Net::HTTPRequest::HTTP_GET, request.path, Poco::Net::HTTPMessage::HTTP_1_1);
        request.session->sendRequest(get);
        const SessionInterrupter::Waiting waiting(*request.session);
        Poco::Net::HTTPResponse response;
        std::istream& in = request.session->receiveResponse(response);
        if (!ReadWithin(in, kMaxPackageBytes, buffer))
            NetworkFailure::Report(what, request.url, "answer past its size or time limit");
        else if (response.getStatus() != Poco::Net::HTTPResponse::HTTP_OK)
            NetworkFailure::Report(what, request.url, NetworkFailure::Status(response.getStatus()));
        else
            return buffer.size();
    } catch (const std::exception& failure) {
        NetworkFailure::Report(what, CQXServiceHost::Url("/quobrix/r.zip"), NetworkFailure::Reason(failure));
    }
    buffer.clear();
    return 0;
}

bool CQXLoginClientApi::SavePackage(const std::string& buffer) const
{
    return SafeFile::Save(m_paths.package, buffer);
}

bool CQXLoginClientApi::UnpackPackage() const
{
    std::string problem;
    try {
        std::ifstream in(m_paths.package, std::ios::binary);
        if (!in)
            return false;
        const Poco::Zip::ZipArchive archive(in);
        const Poco::Zip::ZipLocalFileHeader* entry = ContentEntry(archive);
        if (entry) {
            in.clear();
            in.seekg(0);
            Poco::Zip::ZipInputStream content(in, *entry, true);
            // A small zip may inflate without end: its content has a cap of its own.
            std::string bytes;
            if (!ReadWithin(content, kMaxRecommendFileBytes, bytes) || bytes.empty())
                problem = "its recommend.xml is empty or past its size limit";
            else if (!IsWholeDocument(bytes))
                problem = "its recommend.xml is not a whole document";
            else
                return SafeFile::Save(m_paths.recommendFile, bytes);
        } else {
            problem = "it holds no recommend.xml";
        }
    } catch (const std::exception& failure) {
        problem = failure.what();
    }
    Log::Warning("recommendation package " + m_paths.package + " not installed: " + problem);
    return false;
}

CQXUsageReport CQXLoginClientApi::CollectUsageReport()
{
    const auto& g = CQX_GlobalVariable::getInstance();
    CQXUsageReport report;
    report.uid = CQXConfig::getInstance().GetUserID();
    report.us = static_cast<uint32_t>(std::time(nullptr)) - g.GetStartTime();
    report.sum = g.GetRequestsSent();
    report.st = g.GetPagesFetched();
    report.kt = g.GetAffiliateConversions();
    report.dc = g.GetDetailsViewed();
    report.tc = g.GetPagesOpened();
    report.recommendations = static_cast<int>(g.GetRecommendationsApplied());
    report.keywords = g.GetSearchWords();
    for (int i = 0; i < CQX_GlobalVariable::kActionCounterCount; ++i)
        report.actions[i] = g.GetActionCounter(i);
    return report;
}

std::string CQXLoginClientApi::UsageStatisticsBody(const CQXUsageReport& report)
{
    // The classic 1024-byte buffer: whatever does not fit is left out, and a
    // counter entry is written whole or not at all.
    constexpr size_t kBuffer = 1024;
    char body[kBuffer];
    const int written = snprintf(body, kBuffer, "uid=%u&us=%u&sum=%u&st=%u&kt=%u&dc=%u&tc=%u&kw=\xBC\xF6%i %s",
                                 report.uid, report.us, report.sum, report.st, report.kt, report.dc, report.tc,
                                 report.recommendations, report.keywords.c_str());
    std::string text(body, written < 0 ? 0 : std::min(static_cast<size_t>(written), kBuffer - 1));
    for (int i = 0; i < 17; ++i) {
        if (report.actions[i] == 0)
            continue;
        char entry[32];
        snprintf(entry, sizeof(entry), " %d[%d]", i, static_cast<int>(report.actions[i]));
        if (text.size() + strlen(entry) > kBuffer - 1)
            break;
        text += entry;
    }
    return text;
}

void CQXLoginClientApi::SendUsageStatistics()
{
    if (!WasServiceContacted())
        return;
    if (!CQXConfig::getInstance().GetSendStatistics()) {
        Log::Info("usage statistics not sent: turned off in the settings");
        return;
    }
    PostLogout(UsageStatisticsBody(CollectUsageReport()));
}
