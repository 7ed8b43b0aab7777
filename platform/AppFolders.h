#pragma once
#include <string>

// Where the program's files live. The program names its files as they lay
// beside it on Windows ("../datafiles/data/favorite.xml", "config.ini" in the
// program folder); a layout maps those names to the folders they belong in on
// Linux: the read-only data shipped with the program, and the user's own
// configuration, data, cache and state folders.
//
// Until a layout is in use every name stays as it is, relative to the
// current folder: tests build that classic tree in a sandbox of their own.
class AppFolders
{
public:
    static constexpr const char* kClassicRoot = "../datafiles";

    std::string dataRoot;   // GUI data and shipped pictures, never written
    std::string configDir;  // config.ini
    std::string dataDir;    // the lists, recommend.xml, r.zip
    std::string cacheDir;   // img/, recommend/
    std::string stateDir;   // logs

    // The user's folders from the XDG base directory variables (their
    // defaults below $HOME when unset, empty or relative), each with a
    // "quobrix" folder of its own, and the read-only data found for a
    // program in programDir.
    static AppFolders ForUser(const std::string& programDir);

    // $CEGUI_SAMPLE_DATAPATH when set, else programDir/../datafiles in a
    // build tree, else programDir/../share/quobrix as installed.
    static std::string FindDataRoot(const std::string& programDir);

    // The layout every later Resolve uses, for the rest of the process.
    static void Use(const AppFolders& folders);
    // For tests: back to the classic tree.
    static void UseClassic();

    // Where a file the program names lives: "../datafiles/data/X" in the
    // data folder, "../datafiles/img/..." and "../datafiles/recommend/..." in
    // the cache folder, any other "../datafiles/..." below the read-only
    // data. Other names, and every name without a layout, stay as they are.
    static std::string Resolve(const std::string& name);
    // The settings file: in the configuration folder, or beside the program.
    static std::string ConfigFile();

    // The same mapping for this layout.
    std::string Map(const std::string& name) const;
};
