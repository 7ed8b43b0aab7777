// Browsing speed of the real program under Xvfb, measured on the screen:
// from pressing Enter in the search box to the first screen of cards
// complete, and the frame rate while auto-play moves the wall.
// bench/browse_bench.sh starts the display, the market and the client, then
// this program, which drives the client with xdotool and reads the screen.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void Run(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

// A rectangle of the root window, read again and again.
class ScreenRegion
{
public:
    ScreenRegion(Display* display, int x, int y, int width, int height)
        : m_display(display), m_x(x), m_y(y), m_width(width), m_height(height)
    {
    }

    // Reads the region; true when it differs from the last read.
    bool Changed()
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

private:
    Display* m_display;
    int m_x, m_y, m_width, m_height;
    std::vector<char> m_last;
};

struct DisplayCloser
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};

Display* TheDisplay()
{
    static std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        throw std::runtime_error("no display");
    return display.get();
}

// The cards of the first screen (big pictures: two rows of four), without
// the left panel and the next column peeking in at the right edge.
ScreenRegion FirstScreen()
{
    return ScreenRegion(TheDisplay(), 400, 110, 840, 590);
}

// Watches a region until it has not changed for quiet_ms (or limit_ms has
// passed) and returns when it last changed, in ms after start.
double LastChange(ScreenRegion& region, Clock::time_point start, double quiet_ms, double limit_ms)
{
    Clock::time_point last = start;
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (region.Changed())
            last = now;
        if (Ms(now - last) > quiet_ms || Ms(now - start) > limit_ms)
            return Ms(last - start);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::vector<std::string> Keywords()
{
    const char* list = std::getenv("QX_BENCH_KEYWORDS");
    std::vector<std::string> words;
    std::string word;
    for (const char* c = list ? list : ""; *c; ++c) {
        if (*c == ' ') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += *c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    if (words.empty())
        throw std::runtime_error("QX_BENCH_KEYWORDS names no keyword");
    return words;
}

// The search box has the keyboard; its text is replaced by the keyword.
void TypeKeyword(const std::string& keyword)
{
    Run("xdotool key --delay 10 --repeat 12 BackSpace");
    Run("xdotool type --delay 40 '" + keyword + "'");
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5)];
}

// Keyboard only, as a person who typed and pressed Enter: the client's rule
// that holds card building back for 300 ms after mouse input does not apply.
void BM_EnterToFirstScreen(benchmark::State& state)
{
    const std::vector<std::string> keywords = Keywords();
    ScreenRegion screen = FirstScreen();
    std::vector<double> times;
    size_t next = 0;
    for (auto _ : state) {
        TypeKeyword(keywords[next++ % keywords.size()]);
        // The typing has settled and the idle rule has long passed.
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        screen.Changed();
        Run("xdotool key Return");
        const Clock::time_point pressed = Clock::now();
        const double ms = LastChange(screen, pressed, 1500, 8000);
        times.push_back(ms);
        state.SetIterationTime(ms / 1000);
    }
    state.counters["median_ms"] = Percentile(times, 0.5);
    state.counters["p90_ms"] = Percentile(times, 0.9);
}

// Auto-play at its fastest level over a long result list: the frames the
// wall shows while it moves, read from a band across the cards.
void BM_AutoPlayFrameRate(benchmark::State& state)
{
    const std::vector<std::string> keywords = Keywords();
    const double seconds = static_cast<double>(state.range(0));
    ScreenRegion band(TheDisplay(), 0, 330, 1280, 4);
    ScreenRegion screen = FirstScreen();
    for (auto _ : state) {
        TypeKeyword(keywords.front());
        Run("xdotool key Return");
        LastChange(screen, Clock::now(), 1500, 10000);
        Run("xdotool mousemove 640 778 click 1");
        Run("xdotool mousemove 811 778 click 1");
        Run("xdotool mousemove 60 20");
        int movingFrames = 0;
        double movingMs = 0;
        Clock::time_point lastFrame{};
        const Clock::time_point start = Clock::now();
        while (Ms(Clock::now() - start) < seconds * 1000) {
            const Clock::time_point now = Clock::now();
            if (band.Changed()) {
                // Frames closer than 100 ms belong to one stretch of motion.
                if (lastFrame != Clock::time_point{} && Ms(now - lastFrame) < 100) {
                    ++movingFrames;
                    movingMs += Ms(now - lastFrame);
                }
                lastFrame = now;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        Run("xdotool mousemove 640 778 click 1");
        state.SetIterationTime(seconds);
        state.counters["moving_fps"] = movingMs > 0 ? movingFrames * 1000 / movingMs : 0;
        state.counters["moving_s"] = movingMs / 1000;
    }
}

}

BENCHMARK(BM_EnterToFirstScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
BENCHMARK(BM_AutoPlayFrameRate)->Arg(40)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

BENCHMARK_MAIN();
