#!/usr/bin/env bash
# Start-up of the real program to the main screen's cards complete, read off
# the screen under Xvfb against the local market: min/median/max over the
# runs beside the goal (median at most 0.8 s).
# Usage: bench/startup_bench.sh <build-dir> [runs]
source "$(dirname "$0")/../tests/e2e/lib.sh"
runs=${2:-10}
start_xvfb
start_market
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$BUILD/bench/bench_startup_e2e" "$BIN" "$runs"
