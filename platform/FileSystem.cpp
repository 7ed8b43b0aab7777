#include "platform/FileSystem.h"

#include <algorithm>

#include <dirent.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <memory>

std::string GetModuleDir()
{
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0)
        return ".";
    std::string file(path, static_cast<size_t>(n));
    auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

bool SetCurrentDir(const std::string& dir)
{
    return chdir(dir.c_str()) == 0;
}

namespace {

std::string JoinPath(const std::string& dir, const char* name)
{
    if (!dir.empty() && dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

bool DeleteOneFile(const std::string& path)
{
    // Deleting needs write permission on the folder, not on the file, but a
    // read-only file is made writable first so nothing about it blocks removal.
    chmod(path.c_str(), S_IRUSR | S_IWUSR);
    return unlink(path.c_str()) == 0;
}

}

bool DeleteFilesInDir(const char* dir)
{
    if (!dir)
        return true;
    std::unique_ptr<DIR, int (*)(DIR*)> handle(opendir(dir), closedir);
    if (!handle)
        return true;
    const std::string base(dir);
    while (dirent* entry = readdir(handle.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = JoinPath(base, entry->d_name);
        struct stat info;
        if (lstat(path.c_str(), &info) != 0)
            return false;
        if (S_ISDIR(info.st_mode)) {
            if (!DeleteFilesInDir(path.c_str()))
                return false;
        } else if (!DeleteOneFile(path)) {
            return false;
        }
    }
    return true;
}

std::string GetWindowsFontsDir()
{
    const char* over = getenv("QUOBRIX_FONTS_DIR");
    std::string dir = over && *over ? over : "/usr/share/fonts";
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> FindCjkFontFiles()
{
    std::vector<std::string> files;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return files;
    FcPattern* pattern = FcPatternCreate();
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddLangSet(pattern, FC_LANG, langs);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    if (FcFontSet* fonts = FcFontList(config, pattern, objects)) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcChar8* value = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &value) == FcResultMatch)
                files.emplace_back(reinterpret_cast<const char*>(value));
        }
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(objects);
    FcLangSetDestroy(langs);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    // The same order on every start, whatever order the font cache lists them in.
    std::sort(files.begin(), files.end());
    return files;
}
