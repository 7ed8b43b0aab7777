#pragma once
// What the end-to-end benchmarks read off the X server the client runs on:
// when a region of the screen last changed, and the intervals between the
// frames that change it, with the figures printed beside their goals.
#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d);

// A rectangle of the root window, read again and again.
class ScreenRegion
{
public:
    ScreenRegion(int x, int y, int width, int height);

    // Reads the region; true when it differs from the last read.
    bool Changed();
    // Reads the region; the share of its pixels that differ from the last read.
    double ChangedFraction();
    // Reads the region; its mean brightness, 0 to 255.
    double MeanBrightness();

private:
    XImage* Read() const;
    // Keeps the image as the last read; the number of its pixels that differ.
    size_t Keep(XImage* image, bool countPixels);

    Display* m_display;
    int m_x, m_y, m_width, m_height;
    std::vector<char> m_last;
};

// The cards of the first screen (big pictures: two rows of four), without
// the left panel and the next column peeking in at the right edge.
ScreenRegion FirstScreen();

// Watches a region until it has changed and then not changed for quietMs
// (or limitMs has passed) and returns when it last changed, in ms after
// start: the moment its final pixels appeared. The region is read once
// before, so that what it showed then does not count as a change.
double LastChange(ScreenRegion& region, Clock::time_point start, double quietMs, double limitMs);

// The intervals between the frames that move the wall across a band over
// the given time, sampled every pollMs. A frame moves the wall when most of
// the band changes (a card arriving at rest changes only its own part);
// intervals longer than stallMs are the wall at rest.
std::vector<double> FrameIntervals(ScreenRegion& band, double seconds, double pollMs, double stallMs);

// Runs a shell command; throws when it fails.
void Run(const std::string& command);

struct Spread
{
    double min = 0, median = 0, p95 = 0, max = 0;
};
Spread SpreadOf(std::vector<double> values);

// "<name>: min … median … max … ms over N (goal …)".
void PrintFigure(const std::string& name, const std::vector<double>& values, const std::string& goal);

}
