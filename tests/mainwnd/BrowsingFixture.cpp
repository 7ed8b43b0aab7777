#include "tests/mainwnd/BrowsingFixture.h"

#include "service/CQXRecommendCatalogue.h"
#include "mainwnd/CQX_GlobalVariable.h"
#include "taobao/CTaobaoDataStore.h"
#include "taobao/TaobaoText.h"
#include "tests/support/HeadlessGui.h"
#include "tests/support/LocalMarket.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

const char* const BrowsingFixture::kShopNick = "小店";

namespace {

std::string Gbk(std::string text)
{
    UTF8ToAnsi(text);
    return text;
}

std::string Item(const std::string& name, const std::string& cls, const std::string& extra)
{
    return "<p><c>" + Gbk(cls) + "</c><k>" + Gbk(name) + "</k><u>http://127.0.0.1:1/r/" + std::to_string(name.size()) +
           ".jpg</u>" + extra + "</p>";
}

void WritePackage(const fs::path& file)
{
    std::ofstream(file) << "<?xml version=\"1.0\" encoding=\"gbk\"?>\n<root><r><ver>1</ver><vol>1</vol></r>"
                        << Item("连衣裙", "女装", "<l>100</l><h>300</h><mall/>")
                        << Item(BrowsingFixture::kShopNick, "店铺", "<shop/>")
                        << Item("好货", "女装", "<pd/><f>x</f><j>http://127.0.0.1:1/item.htm</j>")
                        << Item("毛衣", "女装", "<l>200</l><h>50</h>")
                        << Item("手机", "数码", "<v/><tbk/>") << "</root>";
}

// A private copy of the program's data folder layout, entered once per
// process and removed when the process ends.
class Sandbox
{
public:
    ~Sandbox()
    {
        std::error_code ignored;
        if (!m_root.empty())
            fs::remove_all(m_root, ignored);
    }
    void Enter();

private:
    fs::path m_root;
};

void Sandbox::Enter()
{
    if (!m_root.empty())
        return;
    // The GUI data stays where the build put it.
    setenv("QX_BUILD_DIR", fs::absolute("..").c_str(), 0);
    std::string pattern = (fs::temp_directory_path() / "quobrix-browse-XXXXXX").string();
    m_root = ::mkdtemp(pattern.data());
    for (const char* dir : {"bin", "datafiles/data", "datafiles/img", "datafiles/recommend"})
        fs::create_directories(m_root / dir);
    WritePackage(m_root / "datafiles/data/recommend.xml");
    fs::current_path(m_root / "bin");
    setenv("QUOBRIX_BROWSER", "/bin/true", 1);
    // The clipboard works in-process without a display.
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "dummy", 1);
}

Sandbox g_sandbox;

}

void BrowsingFixture::SetUp()
{
    g_sandbox.Enter();
    // The downloader's threads talk to the local market, never to a stray one.
    LocalMarket::instance();
    HeadlessGui::Start();
    ASSERT_TRUE(Modes().GetBackList().empty()) << "each case needs its own process";
    CQXRecommendCatalogue::getInstance().FinishUpdate(false);
    m_wnd = MakeWindow();
    m_wnd->InitialiseSample();
    m_wnd->OnOneRenderLoopEnd();
}

std::unique_ptr<CQX_MainWnd> BrowsingFixture::MakeWindow()
{
    return std::make_unique<CQX_MainWnd>();
}

CTaobaoSearchParams BrowsingFixture::Record()
{
    return CTaobaoDataStore::getInstance().copySearch();
}

int BrowsingFixture::SearchId()
{
    return CQX_GlobalVariable::getInstance().GetSearchID();
}

void BrowsingFixture::Click(const char* name)
{
    HeadlessGui::Click(Window(name));
}

void BrowsingFixture::Type(const char* box, const std::string& utf8)
{
    Click(box);
    HeadlessGui::TypeText(utf8);
}

void BrowsingFixture::PressEnter(const char* box)
{
    Click(box);
    HeadlessGui::Context().injectChar(13);
}

void BrowsingFixture::Search(const std::string& keyword)
{
    Window("SearchDiv/editName")->setText("");
    Type("SearchDiv/editName", keyword);
    PressEnter("SearchDiv/editName");
}

void BrowsingFixture::Choose(const char* list, size_t index)
{
    HeadlessGui::ChooseListItem(static_cast<CEGUI::Combobox*>(Window(list)), index);
}

void BrowsingFixture::EnterShop()
{
    Modes().GetCurrentMode().OnClickProduct(ShopItem);
}
