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

XImage* ScreenRegion::Read() const
{
    XImage* image = XGetImage(m_display, DefaultRootWindow(m_display), m_x, m_y, static_cast<unsigned>(m_width),
                              static_cast<unsigned>(m_height), AllPlanes, ZPixmap);
    if (!image)
        throw std::runtime_error("cannot read the screen");
    return image;
}

double ScreenRegion::MeanBrightness()
{
    XImage* image = Read();
    double sum = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            sum += static_cast<double>(((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)) / 3;
        }
    XDestroyImage(image);
    return sum / (m_width * m_height);
}

// A whole comparison answers "changed" quickly; counting the pixels is only
// done where the share matters.
size_t ScreenRegion::Keep(XImage* image, bool countPixels)
{
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(m_height);
    const size_t pixelBytes = static_cast<size_t>(image->bits_per_pixel / 8);
    size_t changed = 0;
    if (m_last.size() != bytes)
        changed = bytes / pixelBytes;
    else if (!countPixels)
        changed = std::memcmp(m_last.data(), image->data, bytes) != 0;
    else
        for (size_t i = 0; i < bytes; i += pixelBytes)
            changed += std::memcmp(m_last.data() + i, image->data + i, pixelBytes) != 0;
    m_last.assign(image->data, image->data + bytes);
    XDestroyImage(image);
    return changed;
}

bool ScreenRegion::Changed()
{
    return Keep(Read(), false) > 0;
}

double ScreenRegion::ChangedFraction()
{
    return static_cast<double>(Keep(Read(), true)) / (static_cast<double>(m_width) * m_height);
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

std::vector<double> FrameIntervals(ScreenRegion& band, double seconds, double pollMs, double stallMs)
{
    constexpr double kMovedShare = 0.3;
    std::vector<double> intervals;
    Clock::time_point lastFrame{};
    const Clock::time_point start = Clock::now();
    band.Changed();
    while (Ms(Clock::now() - start) < seconds * 1000) {
        const Clock::time_point now = Clock::now();
        if (band.ChangedFraction() > kMovedShare) {
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
