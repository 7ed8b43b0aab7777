#pragma once
#include "platform/AppFolders.h"

#include <string>
#include <vector>

// Makes the user's folders ready before anything reads or writes them:
// creates them, brings a user's files over from where an older version kept
// them (beside the program), and finds out whether each can be written, so
// that a folder that cannot take the user's files is known at start and not
// first at exit.
class CQX_UserFolders
{
public:
    // The files an older version kept beside the program: config.ini in the
    // program folder, the lists and the package in ../datafiles/data/.
    static const char* const kOldDataFiles[5];

    // One sentence (UTF-8) per folder that cannot be used, naming it and why.
    static std::vector<std::string> Prepare(const AppFolders& folders, const std::string& programDir);

    // Copies each old file whose new place is still free; the old files stay
    // where they were. Only for folders the program has just made, so a file
    // the user removed later never comes back.
    static void MigrateOldFiles(const AppFolders& folders, const std::string& programDir, bool newConfigDir,
                                bool newDataDir);

    // Whether a file can be created, written, synced and removed in dir;
    // the reason when not.
    static bool CanWrite(const std::string& dir, std::string& reason);
};
