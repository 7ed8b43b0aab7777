#include "platform/AppFolders.h"

#include "tests/taobao/TempDir.h"

#include "tests/support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

// Sets a variable for the test's lifetime and puts the old value back.

AppFolders Layout()
{
    AppFolders folders;
    folders.dataRoot = "/usr/share/quobrix";
    folders.configDir = "/h/.config/quobrix";
    folders.dataDir = "/h/.local/share/quobrix";
    folders.cacheDir = "/h/.cache/quobrix";
    folders.stateDir = "/h/.local/state/quobrix";
    return folders;
}

}

TEST(AppFolders, ProgramNamesMapToTheFolderTheyBelongIn)
{
    const AppFolders folders = Layout();
    EXPECT_EQ(folders.Map("../datafiles/data/favorite.xml"), "/h/.local/share/quobrix/favorite.xml");
    EXPECT_EQ(folders.Map("../datafiles/data/r.zip"), "/h/.local/share/quobrix/r.zip");
    EXPECT_EQ(folders.Map("../datafiles/img/12.jpg"), "/h/.cache/quobrix/img/12.jpg");
    EXPECT_EQ(folders.Map("../datafiles/img/"), "/h/.cache/quobrix/img/");
    EXPECT_EQ(folders.Map("../datafiles/recommend/5_a.jpg"), "/h/.cache/quobrix/recommend/5_a.jpg");
    EXPECT_EQ(folders.Map("../datafiles/imagesets/no_pic.jpg"), "/usr/share/quobrix/imagesets/no_pic.jpg");
    EXPECT_EQ(folders.Map("../datafiles"), "/usr/share/quobrix");
    // Names that only look alike, and paths of the user's own, stay as they are.
    EXPECT_EQ(folders.Map("../datafilesX/data/a.xml"), "../datafilesX/data/a.xml");
    EXPECT_EQ(folders.Map("../datafiles/image/a.jpg"), "/usr/share/quobrix/image/a.jpg");
    EXPECT_EQ(folders.Map("/tmp/list.xml"), "/tmp/list.xml");
}

TEST(AppFolders, ResolveUsesTheLayoutInUseAndNothingWithout)
{
    AppFolders::UseClassic();
    EXPECT_EQ(AppFolders::Resolve("../datafiles/data/shop.xml"), "../datafiles/data/shop.xml");

    AppFolders::Use(Layout());
    EXPECT_EQ(AppFolders::Resolve("../datafiles/data/shop.xml"), "/h/.local/share/quobrix/shop.xml");
    EXPECT_EQ(AppFolders::ConfigFile(), "/h/.config/quobrix/config.ini");
    AppFolders::UseClassic();
}

TEST(AppFolders, UserFoldersFollowTheXdgVariablesAndTheirDefaults)
{
    ScopedVariable home("HOME", "/home/ann");
    {
        ScopedVariable config("XDG_CONFIG_HOME", "/x/config/");
        ScopedVariable data("XDG_DATA_HOME", "/x/data");
        ScopedVariable cache("XDG_CACHE_HOME", "/x/cache");
        ScopedVariable state("XDG_STATE_HOME", "/x/state");
        const AppFolders folders = AppFolders::ForUser("/opt/q/bin");
        EXPECT_EQ(folders.configDir, "/x/config/quobrix");
        EXPECT_EQ(folders.dataDir, "/x/data/quobrix");
        EXPECT_EQ(folders.cacheDir, "/x/cache/quobrix");
        EXPECT_EQ(folders.stateDir, "/x/state/quobrix");
    }
    // Unset, empty and relative values all give the defaults below $HOME.
    ScopedVariable config("XDG_CONFIG_HOME", std::nullopt);
    ScopedVariable data("XDG_DATA_HOME", "");
    ScopedVariable cache("XDG_CACHE_HOME", "relative/cache");
    ScopedVariable state("XDG_STATE_HOME", std::nullopt);
    const AppFolders folders = AppFolders::ForUser("/opt/q/bin");
    EXPECT_EQ(folders.configDir, "/home/ann/.config/quobrix");
    EXPECT_EQ(folders.dataDir, "/home/ann/.local/share/quobrix");
    EXPECT_EQ(folders.cacheDir, "/home/ann/.cache/quobrix");
    EXPECT_EQ(folders.stateDir, "/home/ann/.local/state/quobrix");
}

TEST(AppFolders, ReadOnlyDataIsFoundBesideTheProgram)
{
    ScopedVariable over("CEGUI_SAMPLE_DATAPATH", std::nullopt);
    TempDir tree;
    std::filesystem::create_directories(tree.path() / "bin");
    const std::string programDir = (tree.path() / "bin").string();
    EXPECT_EQ(AppFolders::FindDataRoot(programDir), tree.file("share/quobrix")) << "installed";

    std::filesystem::create_directories(tree.path() / "datafiles");
    EXPECT_EQ(AppFolders::FindDataRoot(programDir), tree.file("datafiles")) << "build tree";

    ScopedVariable chosen("CEGUI_SAMPLE_DATAPATH", "/srv/gui-data");
    EXPECT_EQ(AppFolders::FindDataRoot(programDir), "/srv/gui-data");
}
