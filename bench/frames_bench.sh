#!/usr/bin/env bash
# Frames of a moving wall in the real program under Xvfb at 1280x800 on the
# software renderer, read off the screen against the local market: auto-play
# with big and small pictures, dragging beside an open detail window;
# min/median/p95/max frame intervals beside the goal.
# Usage: bench/frames_bench.sh <build-dir>
source "$(dirname "$0")/../tests/e2e/lib.sh"
keyword="包邮"  # 11 000 results in the generated catalogue
start_xvfb
start_market
map_keys "$keyword"
start_client
wait_for_main_screen
search_for "$keyword"
sleep 3
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$BUILD/bench/bench_frames_e2e"
xdotool mousemove 1256 21 click 1
wait_exit "$CLIENT_PID" 10
