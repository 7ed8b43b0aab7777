// Frames of a moving wall in the real program under Xvfb, read off the
// screen: the intervals between the frames that change a band across the
// cards, while auto-play moves the wall with big and with small pictures,
// and while the user drags the wall beside an open detail window.
// bench/frames_bench.sh starts the display, the market and the client and
// searches for QX_BENCH_KEYWORD, then runs this.
#include "bench/support/ScreenWatch.h"

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kSeconds = 20;
constexpr double kPollMs = 1;
// A longer gap is the wall at rest between two moves, not a slow frame.
constexpr double kStallMs = 100;
const char kGoal[] = "median <= 20 ms, p95 <= 25 ms";

void Click(int x, int y)
{
    bench::Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1 mousemove 60 20");
}

// The play button, then "+" until the fastest level; the play button again stops.
std::vector<double> AutoPlayFrames()
{
    bench::ScreenRegion band(0, 330, 1280, 4);
    bench::Run("xdotool mousemove 640 778 click 1");
    for (int i = 0; i < 10; ++i)
        bench::Run("xdotool mousemove 811 778 click 1");
    bench::Run("xdotool mousemove 60 20");
    std::vector<double> intervals = bench::FrameIntervals(band, kSeconds, kPollMs, kStallMs);
    Click(640, 778);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    return intervals;
}

// Drags to and fro in the strip of wall the open detail window leaves, as
// one xdotool command so that the moves keep their pace.
std::string DragCommand()
{
    std::string command = "xdotool mousemove 1250 400 mousedown 1";
    for (int step = 0; step < 60; ++step)
        command += " mousemove " + std::to_string(1250 - (step % 30 < 15 ? step % 15 : 15 - step % 15) * 12) +
                   " 400 sleep 0.02";
    return command + " mouseup 1 mousemove 60 20";
}

// The detail window shows its product page, white, across the middle.
bool IsDetailWindowOpen()
{
    bench::ScreenRegion page(300, 450, 400, 4);
    return page.MeanBrightness() > 200;
}

std::vector<double> DragFramesBesideTheDetailWindow()
{
    for (int x : {500, 700, 900, 500}) {
        Click(x, 200);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        if (IsDetailWindowOpen())
            break;
    }
    if (!IsDetailWindowOpen())
        throw std::runtime_error("the detail window did not open");
    bench::ScreenRegion band(1045, 330, 235, 4);
    std::vector<double> intervals;
    const auto start = bench::Clock::now();
    while (bench::Ms(bench::Clock::now() - start) < kSeconds * 1000) {
        std::thread drag([] { bench::Run(DragCommand()); });
        const std::vector<double> some = bench::FrameIntervals(band, 1.3, kPollMs, kStallMs);
        drag.join();
        intervals.insert(intervals.end(), some.begin(), some.end());
    }
    bench::Run("xdotool key Escape");
    return intervals;
}

}

int main()
{
    bench::PrintFigure("auto-play, big pictures: frame interval", AutoPlayFrames(), kGoal);
    Click(1135, 778);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    bench::PrintFigure("auto-play, small pictures: frame interval", AutoPlayFrames(), kGoal);
    Click(1135, 778);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    bench::PrintFigure("dragging beside the open detail window: frame interval", DragFramesBesideTheDetailWindow(),
                       kGoal);
    return 0;
}
