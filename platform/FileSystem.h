#pragma once
#include <string>
#include <vector>

// Directory of the running executable, without a trailing separator.
std::string GetModuleDir();

// Makes dir the current directory; false when it does not exist.
bool SetCurrentDir(const std::string& dir);

// Deletes every file below dir, recursing into subdirectories but keeping the
// directories themselves. Read-only files are made writable first. The first
// failed delete stops the walk and reports failure; a directory that cannot be
// listed counts as success, and so does a null path.
bool DeleteFilesInDir(const char* dir);

// The folder where the system's fonts are looked for first, with a trailing "/".
std::string GetWindowsFontsDir();

// Whether path names a regular file (not a folder).
bool IsRegularFile(const std::string& path);

// Every scalable font fontconfig knows for Chinese (the system's folders and
// the user's own), as full paths, sorted: the stand-ins when none of the
// classic Chinese font files exists.
std::vector<std::string> FindCjkFontFiles();
