// Start-up of the real program under Xvfb, read off the screen: from the
// command to the main screen's first cards complete (the last change of the
// cards' region before it stays still), min/median/max over the runs.
// bench/startup_bench.sh starts the display and the market, then this.
// Usage: bench_startup_e2e <folder of quobrix> [runs]
#include "bench/support/ScreenWatch.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kQuietMs = 1500;
constexpr double kLimitMs = 15000;

pid_t StartClient(const std::string& folder)
{
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("cannot start the client");
    if (pid == 0) {
        if (chdir(folder.c_str()) == 0)
            execl("./quobrix", "quobrix", static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Asks the client to quit as a desktop session would, then makes sure.
void StopClient(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder of quobrix> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    std::vector<double> times;
    // One start first, not counted, so the market has drawn its pictures
    // as a server in use would have.
    for (int run = -1; run < runs; ++run) {
        bench::ScreenRegion cards = bench::FirstScreen();
        cards.Changed();
        const auto started = bench::Clock::now();
        const pid_t client = StartClient(argv[1]);
        const double ms = bench::LastChange(cards, started, kQuietMs, kLimitMs);
        if (run >= 0)
            times.push_back(ms);
        StopClient(client);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    bench::PrintFigure("start-up to the main screen's cards complete", times, "median <= 800 ms");
    return 0;
}
