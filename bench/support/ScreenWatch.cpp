#include "bench/support/ScreenWatch.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace bench {

namespace {

Display* TheDisplay()
{
    static Display* display = XOpenDisplay(nullptr);
    if (!display)
        throw std::runtime_error("no display");
    return display;
}

}

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

ScreenRegion::ScreenRegion(int x, int y, int width, int height)
    : m_display(TheDisplay()), m_x(x), m_y(y), m_width(width), m_height(height)
{
}

bool ScreenRegion::Changed()
{
    XImage* image = XGetImage(m_display, DefaultRootWindow(m_display), m_x, m_y, static_cast<unsigned>(m_width),
                              static_cast<unsigned>(m_height), AllPlanes, ZPixmap);
    if (!image)
        throw std::runtime_error("cannot read the screen");
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(m_height);
    const bool changed = m_last.size() != bytes || std::memcmp(m_last.data(), image->data, bytes) != 0;
    m_last.assign(image->data, image->data + bytes);
    XDestroyImage(image);
    return changed;
}

ScreenRegion FirstScreen()
{
    return ScreenRegion(400, 110, 840, 590);
}

double LastChange(ScreenRegion& region, Clock::time_point start, double quietMs, double limitMs)
{
    Clock::time_point last{};
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (region.Changed())
            last = now;
        const bool quiet = last != Clock::time_point{} && Ms(now - last) > quietMs;
        if (quiet || Ms(now - start) > limitMs)
            return last == Clock::time_point{} ? limitMs : Ms(last - start);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::vector<double> FrameIntervals(ScreenRegion& region, double seconds, double pollMs, double stallMs)
{
    std::vector<double> intervals;
    Clock::time_point lastFrame{};
    const Clock::time_point start = Clock::now();
    region.Changed();
    while (Ms(Clock::now() - start) < seconds * 1000) {
        const Clock::time_point now = Clock::now();
        if (region.Changed()) {
            if (lastFrame != Clock::time_point{} && Ms(now - lastFrame) < stallMs)
                intervals.push_back(Ms(now - lastFrame));
            lastFrame = now;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(static_cast<int64_t>(pollMs * 1000)));
    }
    return intervals;
}

void Run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

Spread SpreadOf(std::vector<double> values)
{
    Spread spread;
    if (values.empty())
        return spread;
    std::sort(values.begin(), values.end());
    auto at = [&](double p) { return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5)]; };
    spread.min = values.front();
    spread.median = at(0.5);
    spread.p95 = at(0.95);
    spread.max = values.back();
    return spread;
}

void PrintFigure(const std::string& name, const std::vector<double>& values, const std::string& goal)
{
    const Spread s = SpreadOf(values);
    std::printf("%s: min %.0f, median %.0f, p95 %.0f, max %.0f ms over %zu (goal: %s)\n", name.c_str(), s.min,
                s.median, s.p95, s.max, values.size(), goal.c_str());
    std::fflush(stdout);
}

}
