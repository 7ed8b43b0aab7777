#include "common/CEGuiCompat.h"
#include "mainwnd/CQX_MainWnd.h"
#include "tests/support/HeadlessGui.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

TEST(MainLayout, ControllerFindsEveryWindowItSubscribes)
{
    HeadlessGui::LoadMainLayout();
    for (const char* name : {"TopPannel/Close", "BottomPannel/AboutUs", "MotionControl/FasterAutoMoveBtn",
                             "MotionControl/SlowerAutoMoveBtn", "BottomPannel/FavoriteBtn", "BottomPannel/TodayBtn",
                             "BottomPannel/RoamBtn", "SearchDiv/editName"})
        EXPECT_NE(CEGuiCompat::FindWindow(name), nullptr) << name;
}

TEST(MainLayout, TypedChineseReachesTheSearchBox)
{
    HeadlessGui::LoadMainLayout();
    CEGUI::Window* box = CEGuiCompat::GetWindow("SearchDiv/editName");
    box->activate();
    HeadlessGui::TypeText("连衣裙");
    EXPECT_EQ(CEGuiCompat::FromGui(box->getText()), "连衣裙");
}

TEST(MainLayout, AChineseFontOutsideTheFontsFolderServesTheGui)
{
    // None of the classic files, and the installed fonts lie elsewhere.
    char empty[] = "/tmp/qx-fonts-XXXXXX";
    ASSERT_NE(mkdtemp(empty), nullptr);
    setenv("QUOBRIX_FONTS_DIR", empty, 1);
    HeadlessGui::Start();
    EXPECT_TRUE(CEGUI::FontManager::getSingleton().isDefined("qx_font_normal"));
    rmdir(empty);
}
