#include "../support/LocalMarket.h"
#include "common/CEGuiBaseApplication.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/MessageBox.h"
#include "service/CQXConfig.h"
#include "service/CQXLoginClientApi.h"
#include "service/CQXRecommendCatalogue.h"
#include "service/CQXUpgradeChecker.h"
#include "tests/support/ScopedVariable.h"

#include <Poco/DateTime.h>
#include <Poco/Net/ServerSocket.h>
#include <Poco/Net/StreamSocket.h>
#include <Poco/Path.h>
#include <Poco/Zip/Compress.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kPlentyOfMemory = 8ull << 30;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A program folder of its own: config.ini, recommend.xml (package vol 1),
// a picture cache, and a service client writing its package there.
class ServiceClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LocalMarket::instance().reset();
        std::string pattern = (fs::temp_directory_path() / "qx-service-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        fs::create_directories(dir / "recommend");
        std::ofstream(dir / "recommend" / "old.jpg") << "old picture";
        WriteRecommendFile(1);
        catalogue = std::make_unique<CQXRecommendCatalogue>((dir / "recommend.xml").string(),
                                                            (dir / "recommend").string() + "/");
        CQXPackagePaths paths;
        paths.package = (dir / "r.zip").string();
        paths.recommendFile = (dir / "recommend.xml").string();
        api = std::make_unique<CQXLoginClientApi>(*catalogue, paths);
        config = std::make_unique<CQXConfig>((dir / "config.ini").string());
        boxes.clear();
        MessageBox::SetHandler([this](const std::string& text, const std::string& caption, MsgBoxButtons, MsgBoxIcon) {
            boxes.push_back(caption + "|" + text);
            return boxAnswer;
        });
        setenv("QUOBRIX_BROWSER", "/bin/true", 1);
        CEGuiBaseApplication::SetQuitting(false);
    }
    void TearDown() override
    {
        MessageBox::SetHandler(nullptr);
        unsetenv("QUOBRIX_BROWSER");
        CEGuiBaseApplication::SetQuitting(false);
        fs::remove_all(dir);
    }

    void WriteRecommendFile(int vol)
    {
        std::ofstream(dir / "recommend.xml") << "<?xml version=\"1.0\" encoding=\"gbk\"?>\n<root><r><ver>1</ver><vol>"
                                             << vol << "</vol></r><p><k>old</k><u>http://pic/old.jpg</u></p></root>";
    }
    void Answer(int cmd, int nrs = 86400, int rv = 1, int mv = 2, int sv = 6)
    {
        market::LoginAnswer answer;
        answer.cmd = cmd;
        answer.nrs = nrs;
        answer.rv = rv;
        answer.mv = mv;
        answer.sv = sv;
        LocalMarket::instance().server().setLoginAnswer(answer);
    }
    size_t LoginCount() const { return LocalMarket::instance().server().loginBodies().size(); }
    void Check(uint64_t memory = kPlentyOfMemory) { CQXUpgradeChecker::Check(*config, *api, feedback, memory); }

    fs::path dir;
    std::unique_ptr<CQXRecommendCatalogue> catalogue;
    std::unique_ptr<CQXLoginClientApi> api;
    std::unique_ptr<CQXConfig> config;
    std::vector<std::string> boxes;
    MsgBoxResult boxAnswer = MsgBoxResult::Ok;
    std::atomic<bool> feedback{false};
};

const std::string kMandatory = "Quobrix升级通知|Quobrix程序必须升级才可以继续使用，点击确定将跳转到下载页面";
const std::string kOptional = "Quobrix升级通知|Quobrix现在有新版本提供下载，点击确定将跳转到下载页面";
const std::string kSmallMemory = "Quobrix提示|很抱歉，您的内存较小，使用中可能会感觉较卡。";

}

TEST(LoginReturnVisitor, ReadsKnownElementsAtAnyDepth)
{
    CQXLoginReturn answer;
    CQX_LoginReturn_Visitor visitor(answer);
    TiXmlDocument doc;
    doc.Parse("<a><cmd>6</cmd><x><uid>41</uid><mv>258</mv></x><uid>42</uid><nrs/><other>9</other></a>");
    doc.Accept(&visitor);
    EXPECT_EQ(answer.cmd, 6);
    EXPECT_EQ(answer.uid, 42) << "a later element overwrites an earlier one";
    EXPECT_EQ(answer.mv, 2) << "mv keeps the low 8 bits";
    EXPECT_EQ(answer.nrs, 0) << "an element without content leaves the field";
    EXPECT_EQ(answer.sv, 6);
}

TEST(UsageStatistics, BodyCarriesCountersAndTenWords)
{
    CQXUsageReport report;
    report.uid = 7;
    report.us = 60;
    report.sum = 5;
    report.recommendations = 2;
    report.keywords = "a-b-";
    report.actions[12] = 3;
    report.actions[0] = 1;
    EXPECT_EQ(CQXLoginClientApi::UsageStatisticsBody(report),
              "uid=7&us=60&sum=5&st=0&kt=0&dc=0&tc=0&kw=\xBC\xF6" "2 a-b- 0[1] 12[3]");
}

TEST(UsageStatistics, VeryLongKeywordsNeverOverflowTheBody)
{
    CQXUsageReport report;
    report.keywords = std::string(5000, 'k');
    report.actions[16] = 99;
    const std::string body = CQXLoginClientApi::UsageStatisticsBody(report);
    EXPECT_EQ(body.size(), 1023u);
    EXPECT_EQ(body.find("16["), std::string::npos);
}

TEST(UsageStatistics, GlobalStateFeedsTheReport)
{
    auto& g = CQX_GlobalVariable::getInstance();
    for (int i = 0; i < 11; ++i)
        g.AddSearchWord("w" + std::to_string(i));
    g.IncAction(CQX_GlobalVariable::ActFavoriteProductAdded);
    const CQXUsageReport report = CQXLoginClientApi::CollectUsageReport();
    EXPECT_EQ(report.keywords, "w0-w1-w2-w3-w4-w5-w6-w7-w8-w9-");
    EXPECT_EQ(report.actions[12], 1u);
}

TEST_F(ServiceClientTest, FirstRunLogsInAndStatisticsArriveAsSent)
{
    Answer(0);
    ASSERT_EQ(api->Call(CQXLoginRequest()), 0);
    EXPECT_EQ(LocalMarket::instance().server().loginBodies().back(), "uid=0&mv=2&sv=6");
    EXPECT_NE(api->Answer().uid, 0) << "the service assigns a user id";
    EXPECT_TRUE(catalogue->IsReady());

    const std::string body = "uid=9&us=1&sum=0&st=0&kt=0&dc=0&tc=0&kw=\xBC\xF6" "0 \xD6\xD0- 12[3]";
    EXPECT_EQ(CQXLoginClientApi::PostLogout(body), 0);
    EXPECT_EQ(LocalMarket::instance().server().statisticsBodies().back(), body);
}

TEST_F(ServiceClientTest, StatisticsGoOnlyWhenTheUserHasNotTurnedThemOff)
{
    CQXLoginClientApi::SetServiceContacted();
    const size_t before = LocalMarket::instance().server().statisticsBodies().size();
    setenv(CQXConfig::kSendStatisticsVariable, "0", 1);
    CQXLoginClientApi::SendUsageStatistics();
    EXPECT_EQ(LocalMarket::instance().server().statisticsBodies().size(), before) << "off: nothing is sent";
    setenv(CQXConfig::kSendStatisticsVariable, "1", 1);
    CQXLoginClientApi::SendUsageStatistics();
    unsetenv(CQXConfig::kSendStatisticsVariable);
    ASSERT_EQ(LocalMarket::instance().server().statisticsBodies().size(), before + 1);
    EXPECT_EQ(LocalMarket::instance().server().statisticsBodies().back().rfind("uid=", 0), 0u);
}

// A service whose connection queue is full never completes a connection: the
// statistics sent while the program ends give up after their own short bound.
TEST(UsageStatistics, AServiceThatTakesNoConnectionHoldsTheEndUpBrieflyOnly)
{
    Poco::Net::ServerSocket full(Poco::Net::SocketAddress("127.0.0.1", 0), 0);
    std::vector<Poco::Net::StreamSocket> queued(3);
    for (Poco::Net::StreamSocket& socket : queued)
        socket.connectNB(full.address());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const ScopedVariable service("QUOBRIX_SERVICE_URL", "http://" + full.address().toString());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(CQXLoginClientApi::PostLogout("uid=1&us=2"), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1500))
        << "well under the 3 s the login may wait";
}

TEST_F(ServiceClientTest, SamePackageVersionDownloadsNothing)
{
    Answer(0, 86400, 1);
    ASSERT_EQ(api->Call(CQXLoginRequest()), 0);
    EXPECT_FALSE(fs::exists(dir / "r.zip"));
    EXPECT_EQ(catalogue->PackageVersion(), 1);
    EXPECT_TRUE(fs::exists(dir / "recommend" / "old.jpg"));
}

TEST_F(ServiceClientTest, NewerPackageIsInstalledAndOldPicturesGo)
{
    Answer(0, 86400, 5);
    ASSERT_EQ(api->Call(CQXLoginRequest()), 0);
    EXPECT_TRUE(fs::exists(dir / "r.zip"));
    EXPECT_EQ(catalogue->PackageVersion(), 5);
    EXPECT_GT(catalogue->ItemCount(), 1);
    EXPECT_FALSE(fs::exists(dir / "recommend" / "old.jpg"));
    EXPECT_TRUE(fs::exists(dir / "recommend"));
    EXPECT_TRUE(catalogue->IsReady());
}

TEST_F(ServiceClientTest, DamagedPackageKeepsTheOldFile)
{
    const std::string before = ReadFile(dir / "recommend.xml");
    std::ofstream(dir / "r.zip") << "PK\x03\x04 this is not a whole zip";
    EXPECT_FALSE(api->UnpackPackage());
    EXPECT_EQ(ReadFile(dir / "recommend.xml"), before);
}

TEST_F(ServiceClientTest, AnswerThatIsNotXmlKeepsTheInitialValues)
{
    market::FaultSettings faults;
    faults.fault = market::Fault::GarbageBody;
    faults.scope = market::FaultScope::Service;
    LocalMarket::instance().server().setFaults(faults);
    Answer(7, 86400, 5);
    EXPECT_EQ(api->Call(CQXLoginRequest()), -2) << "an answer that does not parse is no answer";
    EXPECT_EQ(api->Answer().cmd, 0);
    EXPECT_EQ(api->Answer().rv, 0);
    EXPECT_EQ(catalogue->PackageVersion(), 1);
    EXPECT_TRUE(catalogue->IsReady());

    faults.fault = market::Fault::EmptyBody;
    LocalMarket::instance().server().setFaults(faults);
    CQXRecommendCatalogue other((dir / "recommend.xml").string(), (dir / "recommend").string() + "/");
    CQXLoginClientApi emptyAnswer(other);
    EXPECT_EQ(emptyAnswer.Call(CQXLoginRequest()), -2);
    EXPECT_TRUE(other.IsReady());
}

TEST_F(ServiceClientTest, AnswersPastTheirCapAreNoAnswers)
{
    for (market::Fault fault : {market::Fault::OversizedBody, market::Fault::EndlessBody}) {
        const std::string name = market::FaultInjector::faultName(fault);
        market::FaultSettings faults;
        faults.fault = fault;
        faults.scope = market::FaultScope::Service;
        LocalMarket::instance().server().setFaults(faults);
        Answer(0, 86400, 5);
        EXPECT_EQ(api->Call(CQXLoginRequest()), -1) << name;
        EXPECT_TRUE(catalogue->IsReady()) << name;
        EXPECT_EQ(catalogue->PackageVersion(), 1) << name;

        std::string package = "left over";
        EXPECT_EQ(CQXLoginClientApi::DownloadPackage(package), 0u) << name;
        EXPECT_TRUE(package.empty()) << name;
    }
}

TEST(LoginAnswer, OnlyAWholeAnswerIsObeyedAndOnlyItsKnownCommands)
{
    CQXLoginReturn answer;
    EXPECT_FALSE(CQXLoginClientApi::ReadAnswer("<r><uid>5</uid><cmd>1</cmd><nrs>60</nrs><broken", answer));
    EXPECT_EQ(answer.cmd, 0) << "a forced upgrade inside a broken answer is not obeyed";
    EXPECT_EQ(answer.uid, 0) << "nothing of a broken answer is taken";

    ASSERT_TRUE(CQXLoginClientApi::ReadAnswer("<r><cmd>9</cmd><uid>5</uid></r>", answer));
    EXPECT_EQ(answer.cmd, 0) << "a command outside the known bits is ignored";
    EXPECT_EQ(answer.uid, 5);
    ASSERT_TRUE(CQXLoginClientApi::ReadAnswer("<r><cmd>-1</cmd></r>", answer));
    EXPECT_EQ(answer.cmd, 0);
    ASSERT_TRUE(CQXLoginClientApi::ReadAnswer("<r><cmd>6</cmd></r>", answer));
    EXPECT_EQ(answer.cmd, 6);
}

TEST_F(ServiceClientTest, APackageWithoutItsContentFileOrWithABrokenOneIsRefused)
{
    const std::string before = ReadFile(dir / "recommend.xml");
    const auto package = [this](const char* name, const std::string& bytes) {
        std::ofstream out(dir / "r.zip", std::ios::binary);
        Poco::Zip::Compress compress(out, true);
        std::istringstream content(bytes);
        compress.addFile(content, Poco::DateTime(2026, 1, 1), Poco::Path(name));
        compress.close();
    };
    package("x", "<root><r><ver>1</ver><vol>9</vol></r></root>");
    EXPECT_FALSE(api->UnpackPackage()) << "a package's only entry is not its content file";
    EXPECT_EQ(ReadFile(dir / "recommend.xml"), before);

    package("recommend.xml", "<root><r><ver>1</ver><vol>9</vol></r><p><k>cut");
    EXPECT_FALSE(api->UnpackPackage()) << "a content file cut short";
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    package("recommend.xml", deep);
    EXPECT_FALSE(api->UnpackPackage()) << "a content file nested past any real one";
    EXPECT_EQ(ReadFile(dir / "recommend.xml"), before);
}

TEST_F(ServiceClientTest, PackageThatInflatesPastItsCapKeepsTheOldFile)
{
    const std::string before = ReadFile(dir / "recommend.xml");
    {
        std::ofstream out(dir / "r.zip", std::ios::binary);
        Poco::Zip::Compress compress(out, true);
        std::istringstream content(std::string(CQXLoginClientApi::kMaxRecommendFileBytes + 1, ' '));
        compress.addFile(content, Poco::DateTime(2026, 1, 1), Poco::Path("recommend.xml"));
        compress.close();
    }
    ASSERT_LT(fs::file_size(dir / "r.zip"), 64u * 1024) << "a small package that inflates";
    EXPECT_FALSE(api->UnpackPackage());
    EXPECT_EQ(ReadFile(dir / "recommend.xml"), before);
}

TEST_F(ServiceClientTest, UnreachableServiceFinishesTheCatalogue)
{
    const std::string saved = getenv("QUOBRIX_SERVICE_URL");
    setenv("QUOBRIX_SERVICE_URL", "http://127.0.0.1:9", 1);
    EXPECT_EQ(api->Call(CQXLoginRequest()), -1);
    setenv("QUOBRIX_SERVICE_URL", saved.c_str(), 1);
    EXPECT_TRUE(catalogue->IsReady());
    EXPECT_EQ(api->Answer().nrs, 0);
}

TEST_F(ServiceClientTest, LoginDueOnceADay)
{
    Answer(0, 86400);
    Check();
    EXPECT_EQ(LoginCount(), 1u);
    EXPECT_TRUE(catalogue->IsReady());
    EXPECT_TRUE(boxes.empty());
    EXPECT_GE(config->GetNextRequestTime(), static_cast<int64_t>(std::time(nullptr)) + 86000);

    CQXConfig reread((dir / "config.ini").string());
    EXPECT_NE(reread.GetUserID(), 0u);
    CQXRecommendCatalogue secondRun((dir / "recommend.xml").string(), (dir / "recommend").string() + "/");
    CQXLoginClientApi secondApi(secondRun);
    CQXUpgradeChecker::Check(reread, secondApi, feedback, kPlentyOfMemory);
    EXPECT_EQ(LoginCount(), 1u) << "no login within the day";
    EXPECT_TRUE(secondRun.IsReady()) << "the first frame may still start";
}

TEST_F(ServiceClientTest, MandatoryUpgradeQuitsAndLeavesTheConfigurationAlone)
{
    std::ofstream(dir / "config.ini") << "[UserInfo]\r\nUserID=55\r\n";
    config->Load();
    const std::string before = ReadFile(dir / "config.ini");
    Answer(1);
    Check();
    EXPECT_EQ(boxes, std::vector<std::string>{kMandatory});
    EXPECT_TRUE(CEGuiBaseApplication::IsQuitting());
    config->Save();
    EXPECT_EQ(ReadFile(dir / "config.ini"), before);
    EXPECT_TRUE(catalogue->IsReady());
}

TEST_F(ServiceClientTest, OptionalUpgradeCancelledTurnsNoticesOff)
{
    Answer(2);
    boxAnswer = MsgBoxResult::Cancel;
    Check();
    EXPECT_EQ(boxes.back(), kOptional);
    EXPECT_FALSE(CEGuiBaseApplication::IsQuitting());
    EXPECT_NE(ReadFile(dir / "config.ini").find("KeepUpgradeNotify=0"), std::string::npos);
}

TEST_F(ServiceClientTest, AnUpgradeNoticeNobodySawIsNoAnswer)
{
    Answer(2);
    boxAnswer = MsgBoxResult::Unshown;
    Check();
    EXPECT_EQ(boxes.back(), kOptional);
    EXPECT_FALSE(CEGuiBaseApplication::IsQuitting());
    EXPECT_EQ(ReadFile(dir / "config.ini").find("KeepUpgradeNotify=0"), std::string::npos) << "asked again next time";
}

TEST_F(ServiceClientTest, OptionalUpgradeAcceptedQuits)
{
    Answer(2);
    boxAnswer = MsgBoxResult::Ok;
    Check();
    EXPECT_EQ(boxes.back(), kOptional);
    EXPECT_TRUE(CEGuiBaseApplication::IsQuitting());
}

TEST_F(ServiceClientTest, FeedbackFlagAndSmallMemoryWarning)
{
    Answer(4);
    Check(255ull << 20);
    EXPECT_EQ(boxes, std::vector<std::string>{kSmallMemory}) << "first run (uid 0) on a small machine";
    EXPECT_TRUE(feedback.load());
    EXPECT_FALSE(CEGuiBaseApplication::IsQuitting());
}

TEST_F(ServiceClientTest, StoredVersionAnnouncesWithoutLogin)
{
    const int64_t later = static_cast<int64_t>(std::time(nullptr)) + 3600;
    std::ofstream(dir / "config.ini") << "[Request]\r\nNextRequestTime=" << later
                                      << "\r\nLastReturnMainVersion=2\r\nLastReturnSubVersion=7\r\n"
                                         "[UserInfo]\r\nUserID=5\r\nKeepUpgradeNotify=0\r\n";
    config->Load();
    boxAnswer = MsgBoxResult::Cancel;
    Check();
    EXPECT_EQ(LoginCount(), 0u);
    EXPECT_EQ(boxes, std::vector<std::string>{kOptional}) << "2.7 asks even with notices off";
    EXPECT_TRUE(catalogue->IsReady());

    std::ofstream(dir / "config.ini") << "[Request]\r\nNextRequestTime=" << later
                                      << "\r\nLastReturnMainVersion=3\r\nLastReturnSubVersion=0\r\n"
                                         "[UserInfo]\r\nUserID=5\r\nKeepUpgradeNotify=0\r\n";
    config->Load();
    boxes.clear();
    Check();
    EXPECT_TRUE(boxes.empty()) << "3.0 with notices off stays quiet";
}

TEST(UpgradeNotice, SmallMemoryIsBelow256WholeMiB)
{
    EXPECT_TRUE(CQXUpgradeChecker::IsSmallMemory(255ull << 20));
    EXPECT_TRUE(CQXUpgradeChecker::IsSmallMemory((256ull << 20) - 1));
    EXPECT_FALSE(CQXUpgradeChecker::IsSmallMemory(256ull << 20));
    EXPECT_FALSE(CQXUpgradeChecker::IsSmallMemory(0)) << "memory that cannot be read is not called small";
}

TEST(UpgradeNotice, PhysicalMemoryIsTheMachinesTotal)
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t totalKiB = 0;
    while (meminfo >> key && key != "MemTotal:")
        meminfo.ignore(1 << 10, '\n');
    meminfo >> totalKiB;
    ASSERT_GT(totalKiB, 0u);
    EXPECT_EQ(CQXUpgradeChecker::PhysicalMemoryBytes() / 1024, totalKiB);
}
