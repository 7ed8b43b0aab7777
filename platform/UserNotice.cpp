#include "platform/UserNotice.h"

#include "platform/Log.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_sinkLock;
UserNotice::Sink g_sink;

}

void UserNotice::Post(const std::string& text)
{
    fprintf(stderr, "quobrix: %s\n", text.c_str());
    Log::Warning("notice: " + text);
    Sink sink;
    {
        std::lock_guard<std::mutex> guard(g_sinkLock);
        sink = g_sink;
    }
    if (sink)
        sink(text);
}

void UserNotice::SetSink(Sink sink)
{
    std::lock_guard<std::mutex> guard(g_sinkLock);
    g_sink = std::move(sink);
}
