#include "common/CEGuiCompat.h"

#include <CEGUI/RendererModules/Null/Renderer.h>
#include <gtest/gtest.h>

namespace {

// One headless GUI system for this test program.
class HeadlessGui : public ::testing::Environment
{
public:
    void SetUp() override
    {
        CEGUI::NullRenderer& renderer = CEGUI::NullRenderer::create();
        renderer.setDisplaySize(CEGUI::Sizef(1280, 800));
        CEGUI::System::setDefaultXMLParserName("TinyXMLParser");
        CEGUI::System::create(renderer, nullptr, nullptr, nullptr, nullptr, "", "/dev/null");
    }
    void TearDown() override
    {
        CEGUI::Renderer* renderer = CEGUI::System::getSingleton().getRenderer();
        CEGUI::System::destroy();
        CEGUI::NullRenderer::destroy(*static_cast<CEGUI::NullRenderer*>(renderer));
    }
};

const auto* const g_gui = ::testing::AddGlobalTestEnvironment(new HeadlessGui);

CEGUI::Window* Make(const char* name, CEGUI::Window* parent)
{
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", name);
    if (parent)
        parent->addChild(w);
    return w;
}

}

TEST(CEGuiCompat, ClassicImageStringsBecomeImageNames)
{
    EXPECT_EQ(CEGuiCompat::ImageName("set:FirstPage image:Credit"), "FirstPage/Credit");
    EXPECT_EQ(CEGuiCompat::ImageName("set:credit image:RedStar1"), "credit/RedStar1");
    EXPECT_EQ(CEGuiCompat::ImageName("FirstPage/Credit"), "FirstPage/Credit");
    EXPECT_EQ(CEGuiCompat::PropertyName("UnifiedAreaRect"), "Area");
    EXPECT_EQ(CEGuiCompat::PropertyName("Tooltip"), "TooltipText");
    EXPECT_EQ(CEGuiCompat::PropertyName("Text"), "Text");
    EXPECT_EQ(CEGuiCompat::EventName("MouseLeave"), "MouseLeavesArea");
}

TEST(CEGuiCompat, ClassicWindowNamesAreFoundThroughContainers)
{
    CEGUI::Window* root = Make("Root", nullptr);
    CEGUI::Window* div = Make("SearchDiv", root);
    CEGUI::Window* holder = Make("Holder", div);
    CEGUI::Window* edit = Make("editName", holder);
    CEGUI::Window* other = Make("Other", root);
    CEGUI::Window* decoy = Make("editName", other);
    CEGuiCompat::Context().setRootWindow(root);

    EXPECT_EQ(CEGuiCompat::FindWindow("SearchDiv/editName"), nullptr)
        << "an intermediate window must be named";
    EXPECT_EQ(CEGuiCompat::FindWindow("SearchDiv/Holder/editName"), edit);
    EXPECT_EQ(CEGuiCompat::FindWindow("Other/editName"), decoy);
    EXPECT_EQ(CEGuiCompat::FindWindow("Holder"), holder);
    EXPECT_THROW(CEGuiCompat::GetWindow("Missing/Window"), CEGUI::UnknownObjectException);

    CEGuiCompat::Context().setRootWindow(nullptr);
    CEGUI::WindowManager::getSingleton().destroyWindow(root);
}

TEST(CEGuiCompat, TextCrossesTheBoundaryAsUtf8)
{
    CEGUI::Window* w = Make("Label", nullptr);
    CEGuiCompat::SetProperty(w, "Text", "浙江 杭州");
    EXPECT_EQ(w->getText().length(), 5u);
    EXPECT_EQ(CEGuiCompat::FromGui(w->getText()), "浙江 杭州");
    CEGUI::WindowManager::getSingleton().destroyWindow(w);
}
