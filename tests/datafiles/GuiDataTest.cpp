// The GUI data on CEGUI's NullRenderer: the scheme, both layouts, every
// window name, ID and image name the program looks up, and placement that
// keeps controls apart and lets wall clicks through, at 1280x800 and 1920x1080.

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Null/Renderer.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::string buildDir()
{
    const char* dir = std::getenv("QX_BUILD_DIR");
    return dir ? dir : "..";
}

const char* const kCjkFontDir = "/usr/share/fonts/truetype/wqy/";
const char* const kCjkFontFile = "wqy-zenhei.ttc";

// Keeps CEGUI's error messages so that a bad property or image name in the data,
// which CEGUI only logs while it goes on loading, fails the tests.
class ErrorRecordingLogger : public CEGUI::DefaultLogger
{
public:
    std::vector<std::string> errors;

    void logEvent(const CEGUI::String& message, CEGUI::LoggingLevel level) override
    {
        if (level == CEGUI::Errors && message.find("#") != 0)
            errors.push_back(message.c_str());
        CEGUI::DefaultLogger::logEvent(message, level);
    }
};

// One GUI system for the whole run: CEGUI's system is a process singleton.
class GuiSystem : public ::testing::Environment
{
public:
    static CEGUI::NullRenderer* renderer;
    static ErrorRecordingLogger* logger;

    void SetUp() override
    {
        logger = new ErrorRecordingLogger;
        renderer = &CEGUI::NullRenderer::create();
        renderer->setDisplaySize(CEGUI::Sizef(1280, 800));
        CEGUI::System::setDefaultXMLParserName("TinyXMLParser");
        CEGUI::System::setDefaultImageCodecName("FreeImageImageCodec");
        CEGUI::System::create(*renderer, nullptr, nullptr, nullptr, nullptr, "",
                              buildDir() + "/tests/datafiles_CEGUI.log");

        const std::string data = buildDir() + "/datafiles/";
        auto* rp = static_cast<CEGUI::DefaultResourceProvider*>(
            CEGUI::System::getSingleton().getResourceProvider());
        rp->setResourceGroupDirectory("schemes", data + "schemes/");
        rp->setResourceGroupDirectory("imagesets", data + "imagesets/");
        rp->setResourceGroupDirectory("looknfeels", data + "looknfeel/");
        rp->setResourceGroupDirectory("layouts", data + "layouts/");
        rp->setResourceGroupDirectory("fonts", kCjkFontDir);
        CEGUI::ImageManager::setImagesetDefaultResourceGroup("imagesets");
        CEGUI::Font::setDefaultResourceGroup("fonts");
        CEGUI::Scheme::setDefaultResourceGroup("schemes");
        CEGUI::WidgetLookManager::setDefaultResourceGroup("looknfeels");
        CEGUI::WindowManager::setDefaultResourceGroup("layouts");

        auto& fonts = CEGUI::FontManager::getSingleton();
        // The program makes its fonts before anything else of the GUI: 7 and 10
        // points on a 640x480 design, scaled with the screen's height.
        fonts.createFreeTypeFont("qx_font_normal", 7, true, kCjkFontFile, "fonts", CEGUI::ASM_Vertical);
        fonts.createFreeTypeFont("qx_font_large", 10, true, kCjkFontFile, "fonts", CEGUI::ASM_Vertical);
        CEGUI::SchemeManager::getSingleton().createFromFile("Quobrix.scheme");
        context().setDefaultFont("qx_font_normal");
    }

    void TearDown() override
    {
        CEGUI::System::destroy();
        CEGUI::NullRenderer::destroy(*renderer);
        delete logger;
    }

    static CEGUI::GUIContext& context()
    {
        return CEGUI::System::getSingleton().getDefaultGUIContext();
    }

    static void setDisplaySize(unsigned w, unsigned h)
    {
        renderer->setDisplaySize(CEGUI::Sizef(w, h));
        CEGUI::System::getSingleton().notifyDisplaySizeChanged(CEGUI::Sizef(w, h));
    }
};

CEGUI::NullRenderer* GuiSystem::renderer = nullptr;
ErrorRecordingLogger* GuiSystem::logger = nullptr;

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const auto& line : lines)
        all += line + "\n";
    return all;
}
[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiSystem);

// The lookup rule the program uses: "Group/Widget" is the child "Widget" of the
// window "Group" found anywhere below the sheet; a plain name is any window
// below the sheet; the sheet answers to its own name.
CEGUI::Window* findWidget(CEGUI::Window* sheet, const std::string& name)
{
    if (name == sheet->getName().c_str())
        return sheet;
    const auto slash = name.find('/');
    if (slash == std::string::npos)
        return sheet->getChildRecursive(name);
    CEGUI::Window* group = sheet->getChildRecursive(name.substr(0, slash));
    const std::string child = name.substr(slash + 1);
    return group && group->isChild(child) ? group->getChild(child) : nullptr;
}

int countNamed(const CEGUI::Window* w, const std::string& name)
{
    int n = name == w->getName().c_str() ? 1 : 0;
    for (size_t i = 0; i < w->getChildCount(); ++i)
        n += countNamed(w->getChildAtIdx(i), name);
    return n;
}

const std::vector<std::string> kMainWindowNames = {
    "Root",
    "TopPannel/Close",
    "TopPanel/ShopName",
    "SearchDiv/editName", "SearchDiv/SearchBtn", "SearchDiv/StartPrice", "SearchDiv/EndPrice",
    "SearchDiv/PriceText1", "SearchDiv/PriceText2", "SearchDiv/SearchInShopOrNot",
    "SearchDiv/SearchNotice", "SearchDiv/LeftPanel",
    "MotionControl/Location", "MotionControl/Credit", "MotionControl/Price", "MotionControl/Volume",
    "MotionControl/TimeSort", "MotionControl/ReturnRecommend", "MotionControl/FavoriteShop",
    "MotionControl/FavoriteShopProduct", "MotionControl/PrevBtn", "MotionControl/NextBtn",
    "MotionControl/FirstBtn", "MotionControl/PrevPrevBtn", "MotionControl/NextNextBtn",
    "MotionControl/AutoPlayStopBtn", "MotionControl/FasterAutoMoveBtn",
    "MotionControl/SlowerAutoMoveBtn", "MotionControl/Text",
    "BottomPannel/AboutUs", "BottomPannel/BigSmallPicBtn", "BottomPannel/FavoriteBtn",
    "BottomPannel/TodayBtn", "BottomPannel/RoamBtn", "BottomPannel/RedoHistoryBtn",
    "BottomPannel/RecoverHistoryBtn",
    "LeftPanel/CategoryTree", "LeftPanel/PropertyTree", "LeftPanel/OpenCloseTree",
    "LeftPanel/ShrinkBottom", "LeftPanel/SplitLine", "LeftPanel/SalerName",
    "LeftPanel/SalerCredit", "LeftPanel/SalerReputation", "LeftPanel/SalerCreditImage",
    "LeftPanel/bulletin",
    "FilterCombo", "RecommendClassCombo",
};

class MainLayout : public ::testing::Test
{
protected:
    static CEGUI::Window* sheet;

    static void SetUpTestSuite()
    {
        GuiSystem::setDisplaySize(1280, 800);
        sheet = CEGUI::WindowManager::getSingleton().loadLayoutFromFile("Quobrix.layout");
        GuiSystem::context().setRootWindow(sheet);
    }

    static void TearDownTestSuite()
    {
        GuiSystem::context().setRootWindow(nullptr);
        CEGUI::WindowManager::getSingleton().destroyWindow(sheet);
        CEGUI::WindowManager::getSingleton().cleanDeadPool();
        GuiSystem::setDisplaySize(1280, 800);
    }

    void TearDown() override { GuiSystem::setDisplaySize(1280, 800); }

    static CEGUI::Window* w(const std::string& name)
    {
        CEGUI::Window* found = findWidget(sheet, name);
        if (!found)
            ADD_FAILURE() << "no window " << name;
        return found;
    }

    template <typename T> static bool is(const std::string& name)
    {
        return dynamic_cast<T*>(w(name)) != nullptr;
    }

    // Pixel rectangle of a control as the user sees it; a combo box counts its
    // closed part only, not the list it drops.
    static CEGUI::Rectf visibleRect(const std::string& name)
    {
        CEGUI::Window* win = w(name);
        CEGUI::Rectf r = win->getUnclippedOuterRect().get();
        if (auto* combo = dynamic_cast<CEGUI::Combobox*>(win))
            r.d_max.d_y = combo->getEditbox()->getUnclippedOuterRect().get().d_max.d_y;
        return r;
    }
};

CEGUI::Window* MainLayout::sheet = nullptr;

TEST_F(MainLayout, SchemeAndLayoutLoadWithoutErrors)
{
    EXPECT_TRUE(GuiSystem::logger->errors.empty()) << joined(GuiSystem::logger->errors);
}

TEST_F(MainLayout, EveryWindowNameTheProgramUsesResolves)
{
    for (const auto& name : kMainWindowNames)
        EXPECT_NE(findWidget(sheet, name), nullptr) << name;
}

TEST_F(MainLayout, GroupNamesAreUniqueSoTheLookupIsUnambiguous)
{
    std::set<std::string> groups;
    for (const auto& name : kMainWindowNames) {
        const auto slash = name.find('/');
        groups.insert(slash == std::string::npos ? name : name.substr(0, slash));
    }
    for (const auto& group : groups)
        EXPECT_EQ(countNamed(sheet, group), 1) << group;
}

TEST_F(MainLayout, LeftPanelWidgetsLiveInsideThePanelRoot)
{
    CEGUI::Window* panel = w("SearchDiv/LeftPanel");
    for (const char* name : {"LeftPanel/CategoryTree", "LeftPanel/PropertyTree",
                             "LeftPanel/OpenCloseTree", "LeftPanel/ShrinkBottom",
                             "LeftPanel/SplitLine", "LeftPanel/SalerName", "LeftPanel/SalerCredit",
                             "LeftPanel/SalerReputation", "LeftPanel/SalerCreditImage",
                             "LeftPanel/bulletin"})
        EXPECT_EQ(w(name)->getParent(), panel) << name;
}

TEST_F(MainLayout, WidgetsHaveTheKindsTheHandlersExpect)
{
    for (const char* name : {"SearchDiv/editName", "SearchDiv/StartPrice", "SearchDiv/EndPrice"})
        EXPECT_TRUE(is<CEGUI::Editbox>(name)) << name;
    for (const char* name : {"MotionControl/Location", "MotionControl/FavoriteShopProduct",
                             "FilterCombo", "RecommendClassCombo"})
        EXPECT_TRUE(is<CEGUI::Combobox>(name)) << name;
    for (const char* name : {"LeftPanel/CategoryTree", "LeftPanel/PropertyTree"})
        EXPECT_TRUE(is<CEGUI::Tree>(name)) << name;
    EXPECT_TRUE(is<CEGUI::ToggleButton>("SearchDiv/SearchInShopOrNot"));
    EXPECT_EQ(w("SearchDiv/SearchBtn")->getID(), 0u);

    // Buttons the program enables, disables or re-skins.
    for (const char* name : {"SearchDiv/SearchBtn", "MotionControl/Credit", "MotionControl/Price",
                             "MotionControl/Volume", "MotionControl/TimeSort",
                             "MotionControl/FavoriteShop", "MotionControl/AutoPlayStopBtn",
                             "MotionControl/FasterAutoMoveBtn", "MotionControl/SlowerAutoMoveBtn",
                             "BottomPannel/BigSmallPicBtn", "BottomPannel/RoamBtn",
                             "BottomPannel/FavoriteBtn", "BottomPannel/TodayBtn",
                             "BottomPannel/RedoHistoryBtn", "BottomPannel/RecoverHistoryBtn",
                             "LeftPanel/OpenCloseTree"}) {
        EXPECT_TRUE(is<CEGUI::PushButton>(name)) << name;
        for (const char* prop : {"NormalImage", "HoverImage", "PushedImage"})
            EXPECT_TRUE(w(name)->isPropertyPresent(prop)) << name << " " << prop;
    }
    for (const char* name : {"SearchDiv/LeftPanel", "LeftPanel/SalerCreditImage"})
        EXPECT_TRUE(w(name)->isPropertyPresent("Image")) << name;
}

TEST_F(MainLayout, StartsWithThePanelAndSpeedButtonsHidden)
{
    for (const char* name : {"SearchDiv/LeftPanel", "MotionControl/FasterAutoMoveBtn",
                             "MotionControl/SlowerAutoMoveBtn", "MotionControl/Text",
                             "TopPanel/ShopName", "SearchDiv/SearchInShopOrNot"})
        EXPECT_FALSE(w(name)->isVisible()) << name;
    for (const char* name : {"SearchDiv/editName", "SearchDiv/SearchBtn", "BottomPannel/RoamBtn",
                             "MotionControl/AutoPlayStopBtn", "MotionControl/NextBtn"})
        EXPECT_TRUE(w(name)->isEffectiveVisible()) << name;
}

TEST_F(MainLayout, ClicksThatMissTheControlsReachTheWall)
{
    for (auto [x, y] : {std::pair{640.f, 400.f}, {640.f, 50.f}, {640.f, 750.f}, {1270.f, 400.f},
                        {10.f, 400.f}, {1000.f, 120.f}}) {
        GuiSystem::context().injectMousePosition(x, y);
        EXPECT_EQ(GuiSystem::context().getWindowContainingMouse(), sheet) << x << "," << y;
    }
    const CEGUI::Rectf box = visibleRect("SearchDiv/editName");
    GuiSystem::context().injectMousePosition(box.d_min.d_x + 5, box.d_min.d_y + 5);
    EXPECT_EQ(GuiSystem::context().getWindowContainingMouse(), w("SearchDiv/editName"));
}

// A text control is tall enough for its font's lines and, where the layout
// gives it a fixed text, wide enough for that text plus the given padding.
void expectTextFits(CEGUI::Window* win, int lines, float padding, const std::string& where)
{
    const CEGUI::Font* font = win->getFont();
    ASSERT_NE(font, nullptr) << where;
    const CEGUI::Rectf r = win->getUnclippedOuterRect().get();
    EXPECT_GE(r.getHeight() + 1, lines * font->getLineSpacing()) << where << " is too low";
    if (!win->getText().empty())
        EXPECT_LE(font->getTextExtent(win->getText()) + padding, r.getWidth() + 1)
            << where << " cuts off \"" << win->getText() << "\"";
}

const std::vector<std::pair<unsigned, unsigned>> kDisplaySizes = {{1280, 800}, {1920, 1080}};

CEGUI::Window* windowAt(const CEGUI::Rectf& r)
{
    GuiSystem::context().injectMousePosition((r.d_min.d_x + r.d_max.d_x) / 2,
                                             (r.d_min.d_y + r.d_max.d_y) / 2);
    return GuiSystem::context().getWindowContainingMouse();
}

// Which controls each browsing view shows: search, simple search, today,
// favourite products, favourite shops, roam, shop.
enum View { S, SS, T, FP, FS, R, SH };

const std::map<std::string, std::set<View>> kViewVisibility = {
    {"SearchDiv/SearchNotice", {SS, T, FP, FS, R}},
    {"SearchDiv/StartPrice", {S, SH}}, {"SearchDiv/EndPrice", {S, SH}},
    {"SearchDiv/PriceText1", {S, SH}}, {"SearchDiv/PriceText2", {S, SH}},
    {"MotionControl/Credit", {S, T, FP}},
    {"MotionControl/Price", {S, T, FP, SH}},
    {"MotionControl/Volume", {S, SH}},
    {"MotionControl/TimeSort", {SH}},
    {"MotionControl/Location", {S}},
    {"FilterCombo", {S}},
    {"MotionControl/ReturnRecommend", {S, SS, T, FP, FS, SH}},
    {"MotionControl/FavoriteShop", {SH}},
    {"MotionControl/FavoriteShopProduct", {FP, FS}},
    {"BottomPannel/RedoHistoryBtn", {S, SS, R, SH}},
    {"BottomPannel/RecoverHistoryBtn", {S, SS, R, SH}},
    {"SearchDiv/SearchInShopOrNot", {SH}},
    {"TopPanel/ShopName", {SH}},
    {"RecommendClassCombo", {R}},
};

// Shown in every view (the speed controls while auto-play runs).
const std::vector<std::string> kAlwaysShown = {
    "TopPannel/Close", "SearchDiv/editName", "SearchDiv/SearchBtn",
    "BottomPannel/AboutUs", "BottomPannel/BigSmallPicBtn", "BottomPannel/FavoriteBtn",
    "BottomPannel/TodayBtn", "BottomPannel/RoamBtn", "MotionControl/PrevBtn",
    "MotionControl/NextBtn", "MotionControl/FirstBtn", "MotionControl/PrevPrevBtn",
    "MotionControl/NextNextBtn", "MotionControl/AutoPlayStopBtn",
    "MotionControl/FasterAutoMoveBtn", "MotionControl/SlowerAutoMoveBtn", "MotionControl/Text",
};

std::vector<std::string> shownIn(View view)
{
    std::vector<std::string> names = kAlwaysShown;
    for (const auto& [name, views] : kViewVisibility)
        if (views.count(view))
            names.push_back(name);
    return names;
}

bool overlaps(const CEGUI::Rectf& a, const CEGUI::Rectf& b)
{
    return a.d_min.d_x < b.d_max.d_x && b.d_min.d_x < a.d_max.d_x &&
           a.d_min.d_y < b.d_max.d_y && b.d_min.d_y < a.d_max.d_y;
}

TEST_F(MainLayout, EveryViewKeepsItsControlsApartAndOnScreen)
{
    for (auto [width, height] : kDisplaySizes) {
        GuiSystem::setDisplaySize(width, height);
        const CEGUI::Rectf screen(0, 0, width, height);
        for (View view : {S, SS, T, FP, FS, R, SH}) {
            const auto names = shownIn(view);
            for (size_t i = 0; i < names.size(); ++i) {
                const CEGUI::Rectf a = visibleRect(names[i]);
                EXPECT_TRUE(a.getIntersection(screen) == a)
                    << names[i] << " leaves the " << width << "x" << height << " screen";
                for (size_t j = i + 1; j < names.size(); ++j)
                    EXPECT_FALSE(overlaps(a, visibleRect(names[j])))
                        << names[i] << " overlaps " << names[j] << " in view " << view << " at "
                        << width << "x" << height;
            }
        }
    }
}

TEST_F(MainLayout, TextsFitTheirControlsAtBothScreenSizes)
{
    for (auto [width, height] : kDisplaySizes) {
        GuiSystem::setDisplaySize(width, height);
        const std::string at = " at " + std::to_string(width) + "x" + std::to_string(height);
        for (const char* name : {"SearchDiv/SearchNotice", "SearchDiv/PriceText1",
                                 "SearchDiv/PriceText2", "MotionControl/Text", "TopPanel/ShopName",
                                 "LeftPanel/SalerName", "LeftPanel/SalerCredit",
                                 "LeftPanel/SalerReputation"})
            expectTextFits(w(name), 1, 0, name + at);
        for (const char* name : {"SearchDiv/editName", "SearchDiv/StartPrice", "SearchDiv/EndPrice"})
            expectTextFits(w(name), 1, 0, name + at);
        expectTextFits(w("SearchDiv/SearchInShopOrNot"), 1, 24, "SearchDiv/SearchInShopOrNot" + at);
    }
}

TEST_F(MainLayout, ActivatingABarLeavesTheControlsOverItOnTop)
{
    // The program activates the roam button to take the keyboard focus from
    // the search box; a click on a bar's empty part activates the bar.
    w("BottomPannel/RoamBtn")->activate();
    w("BottomPannel")->activate();
    w("TopPannel/Close")->activate();
    w("TopPannel")->activate();
    for (const char* name : {"MotionControl/NextBtn", "MotionControl/AutoPlayStopBtn",
                             "MotionControl/FirstBtn", "SearchDiv/editName", "SearchDiv/SearchBtn",
                             "RecommendClassCombo"}) {
        CEGUI::Window* hit = windowAt(visibleRect(name));
        EXPECT_TRUE(hit == w(name) || hit->isAncestor(w(name))) << name << " is covered";
    }
}

TEST_F(MainLayout, CollapsedLeftPanelShowsItsButtonAndExpandStrip)
{
    CEGUI::Window* panel = w("SearchDiv/LeftPanel");
    CEGUI::Window* button = w("LeftPanel/OpenCloseTree");
    const CEGUI::String expandedArea = panel->getProperty("Area");
    const CEGUI::String buttonArea = button->getProperty("Area");

    panel->setProperty("Area", "{{0,0},{0,45},{0,116},{0,111}}");
    button->setProperty("Area", "{{0, 0},{0,0},{0,116},{0,28}}");
    const CEGUI::Rectf box = panel->getUnclippedOuterRect().get();
    const CEGUI::Rectf strip = w("LeftPanel/ShrinkBottom")->getUnclippedOuterRect().get();
    EXPECT_TRUE(strip.getIntersection(box) == strip);
    EXPECT_FALSE(overlaps(strip, button->getUnclippedOuterRect().get()));

    panel->setProperty("Area", expandedArea);
    button->setProperty("Area", buttonArea);
}

TEST(Scheme, DefinesEveryImageTheProgramNames)
{
    const std::map<std::string, std::vector<std::string>> images = {
        {"FirstPage", {"Credit", "CreditDownGreyHighLight", "CreditHighLight", "PriceGrey",
                       "PriceUpGreyHighLight", "PriceDown", "PriceDownHighLight", "PriceUp",
                       "PriceUpHighLight", "VolumeDownGreyNormal", "VolumeDownGreyHighLight",
                       "VolumeDownNormal", "TimeGreyNormal", "TimeGreyHighLight", "TimeDownNormal",
                       "TimeDownHighLight", "TimeUpNormal", "TimeUpHighLight"}},
        {"FirstPageMore", {"StartHeight", "StartHeightHover", "Start", "StartHover", "SmallPic",
                           "SmallPicHighLight", "BigPic", "BigPicHighLight",
                           "LeftPanelShrinkBtnHighLight", "LeftPanelExpandBtnHighLight"}},
        {"PlayStop", {"Stop", "StopHight", "Play", "PlayHight", "CategoryTextSelect",
                      "LeftPanelShrinkShopBtn", "LeftPanelShrinkBtnShopHighLight",
                      "LeftPanelExpandShopBtn", "LeftPanelExpandBtnShopHighLight"}},
        {"size", {"MouseCursor", "HandMouseCursor", "LeftPanelBK", "LeftPanelShrinkBtn",
                  "LeftPanelExpandBtn"}},
        {"credit", {"RedStar1", "RedStar2", "RedStar3", "RedStar4", "RedStar5", "RedDiam1",
                    "RedDiam2", "RedDiam3", "RedDiam4", "RedDiam5", "RedCrown1", "RedCrown2",
                    "RedCrown3", "RedCrown4", "RedCrown5"}},
        {"TaharezLook", {"MultiListSelectionBrush"}},
    };
    auto& manager = CEGUI::ImageManager::getSingleton();
    for (const auto& [set, names] : images)
        for (const auto& name : names) {
            const std::string full = set + "/" + name;
            ASSERT_TRUE(manager.isDefined(full)) << full;
            const CEGUI::Sizef size = manager.get(full).getRenderedSize();
            EXPECT_GT(size.d_width, 0) << full;
            EXPECT_GT(size.d_height, 0) << full;
        }
    EXPECT_TRUE(CEGUI::WindowFactoryManager::getSingleton().isFactoryPresent("TaharezLook/Tooltip"));
}

TEST(Scheme, CreditRowsGrowWithTheirCount)
{
    auto& manager = CEGUI::ImageManager::getSingleton();
    for (const char* kind : {"RedStar", "RedDiam", "RedCrown"})
        for (int n = 1; n < 5; ++n) {
            const auto& narrow = manager.get("credit/" + std::string(kind) + std::to_string(n));
            const auto& wide = manager.get("credit/" + std::string(kind) + std::to_string(n + 1));
            EXPECT_LT(narrow.getRenderedSize().d_width, wide.getRenderedSize().d_width) << kind << n;
        }
}

TEST(Scheme, LeavesTheFontsToTheProgram)
{
    auto& fonts = CEGUI::FontManager::getSingleton();
    int count = 0;
    for (auto it = fonts.getIterator(); !it.isAtEnd(); ++it)
        ++count;
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(fonts.isDefined("qx_font_normal"));
    EXPECT_TRUE(fonts.isDefined("qx_font_large"));
}

TEST(DetailLayout, RootHasEveryChildIdTheWindowLooksUp)
{
    const size_t errorsBefore = GuiSystem::logger->errors.size();
    CEGUI::Window* root =
        CEGUI::WindowManager::getSingleton().loadLayoutFromFile("DetailWindow.layout");
    EXPECT_EQ(GuiSystem::logger->errors.size(), errorsBefore) << joined(GuiSystem::logger->errors);
    EXPECT_NE(dynamic_cast<CEGUI::FrameWindow*>(root), nullptr);
    for (unsigned id : {1u, 2u, 3u, 4u, 6u, 7u, 8u, 9u, 10u, 12u, 13u, 14u, 15u, 16u, 17u, 18u, 19u})
        EXPECT_TRUE(root->isChild(id)) << "ID " << id;
    for (unsigned id : {5u, 11u})
        EXPECT_FALSE(root->isChild(id)) << "ID " << id;
    // Opened with "Clicked", which only push buttons fire.
    for (unsigned id : {12u, 13u, 16u})
        EXPECT_NE(dynamic_cast<CEGUI::PushButton*>(root->getChild(id)), nullptr) << "ID " << id;
    EXPECT_TRUE(root->getChild(14u)->isPropertyPresent("Image"));
    for (const char* prop : {"NormalImage", "HoverImage", "PushedImage"})
        EXPECT_TRUE(root->getChild(16u)->isPropertyPresent(prop)) << prop;
    CEGUI::WindowManager::getSingleton().destroyWindow(root);
}

TEST(DetailLayout, PageAreaAndButtonsFitTheWindowAtBothSizes)
{
    CEGUI::Window* root =
        CEGUI::WindowManager::getSingleton().loadLayoutFromFile("DetailWindow.layout");
    GuiSystem::context().setRootWindow(root);
    for (auto [width, height] : kDisplaySizes) {
        GuiSystem::setDisplaySize(width, height);
        const CEGUI::Rectf frame = root->getUnclippedOuterRect().get();
        const CEGUI::Rectf page = root->getChild(7u)->getUnclippedOuterRect().get();
        EXPECT_TRUE(page.getIntersection(frame) == page);
        EXPECT_GE(page.getWidth(), 600);
        EXPECT_GE(page.getHeight(), 300);
        std::vector<CEGUI::Rectf> buttons;
        for (unsigned id : {12u, 13u, 15u, 16u, 18u}) {
            const CEGUI::Rectf r = root->getChild(id)->getUnclippedOuterRect().get();
            EXPECT_TRUE(r.getIntersection(frame) == r) << "ID " << id;
            EXPECT_FALSE(overlaps(r, page)) << "ID " << id;
            for (const auto& other : buttons)
                EXPECT_FALSE(overlaps(r, other)) << "ID " << id;
            buttons.push_back(r);
        }
        const std::string at = " at " + std::to_string(width) + "x" + std::to_string(height);
        expectTextFits(root->getChild(1u), 2, 0, "title" + at);
        for (unsigned id : {2u, 3u, 4u, 6u, 8u, 9u, 10u, 17u, 19u})
            expectTextFits(root->getChild(id), 1, 0, "ID " + std::to_string(id) + at);
        for (unsigned id : {12u, 13u, 18u})
            expectTextFits(root->getChild(id), 1, 16, "ID " + std::to_string(id) + at);
    }
    GuiSystem::setDisplaySize(1280, 800);
    GuiSystem::context().setRootWindow(nullptr);
    CEGUI::WindowManager::getSingleton().destroyWindow(root);
}

}  // namespace
