#include "platform/ThreadFaults.h"

#include <Poco/Exception.h>

#include <cstdio>
#include <exception>
#include <mutex>

namespace {

std::mutex g_lock;
size_t g_count = 0;
std::string g_last;

void Record(const char* thread, const std::string& what)
{
    std::lock_guard<std::mutex> guard(g_lock);
    ++g_count;
    g_last = std::string(thread) + ": " + what;
    std::fprintf(stderr, "quobrix: %s\n", g_last.c_str());
}

}

bool ThreadFaults::Run(const char* thread, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const Poco::Exception& e) {
        Record(thread, e.displayText());
    } catch (const std::exception& e) {
        Record(thread, e.what());
    } catch (...) {
        Record(thread, "unknown exception");
    }
    return false;
}

size_t ThreadFaults::Count()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return g_count;
}

std::string ThreadFaults::Last()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return g_last;
}
