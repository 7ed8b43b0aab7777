#!/usr/bin/env bash
# Start-up time to the first frame of the main screen under Xvfb, and the CPU
# time the frame loop spends per frame on an idle main screen.
# Usage: bench/startup_bench.sh <build-dir> [runs]
source "$(dirname "$0")/../tests/e2e/lib.sh"
runs=${2:-5}
start_xvfb
start_market

times=()
for run in $(seq 1 "$runs"); do
  t0=$(date +%s%N)
  start_client
  wait_for_main_screen
  t1=$(date +%s%N)
  times+=($(( (t1 - t0) / 1000000 )))
  kill -TERM "$CLIENT_PID"
  wait_exit "$CLIENT_PID" 10
done
echo "start-up to main screen (ms, $runs runs, screenshot polling adds up to ~200 ms): ${times[*]}"
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END{print "median:", a[int((NR+1)/2)], "ms"}'

export QUOBRIX_FRAME_STATS=1
(cd "$BIN" && exec ./quobrix 2>"$WORK/stats.log") &
CLIENT_PID=$!
E2E_PIDS+=($CLIENT_PID)
wait_for_main_screen
ticks=$(getconf CLK_TCK)
cpu0=$(awk '{print $14 + $15}' "/proc/$CLIENT_PID/stat")
sleep 10
cpu1=$(awk '{print $14 + $15}' "/proc/$CLIENT_PID/stat")
kill -TERM "$CLIENT_PID"
wait_exit "$CLIENT_PID" 10
grep frames "$WORK/stats.log" || true
frames_line=$(grep -o '[0-9]* frames in [0-9]* ms' "$WORK/stats.log")
frames=${frames_line%% frames*}
ms=${frames_line##*in }; ms=${ms%% ms}
cpu_ms=$(( (cpu1 - cpu0) * 1000 / ticks ))
echo "idle main screen: $cpu_ms ms CPU in 10 s; whole run $frames frames in $ms ms ($(( frames * 1000 / ms )) fps)"
echo "CPU per frame (at the measured rate): $(awk "BEGIN{printf \"%.2f\", $cpu_ms / (10 * $frames * 1000 / $ms)}") ms"
