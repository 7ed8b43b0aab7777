#include "platform/Browser.h"

#include "platform/Process.h"

#include <cstdlib>

namespace {

constexpr size_t kCommandLineBuffer = 520;

bool IsWebUrl(const std::string& url)
{
    return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

std::string BrowserProgram()
{
    const char* over = getenv("QUOBRIX_BROWSER");
    return over && *over ? over : "xdg-open";
}

}

bool OpenURLInBrowser(const std::string& url)
{
    if (!IsWebUrl(url))
        return false;
    const std::string program = BrowserProgram();
    if (program.size() + 1 + url.size() + 1 > kCommandLineBuffer)
        return false;
    if (program.find('/') == std::string::npos && !Process::IsOnPath(program))
        return false;
    return Process::Spawn({program, url});
}
