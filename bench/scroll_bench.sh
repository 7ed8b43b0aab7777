#!/usr/bin/env bash
# Scrolling patterns on a large search in the real program under Xvfb: the
# peak queue lengths (the program's own count, QUOBRIX_FRAME_STATS=1), the
# peak and final resident memory against the first screen complete (goal:
# at most 1.3x), and the time from the last input until the screen in view
# stops changing (goal: at most 1 s).
# Usage: bench/scroll_bench.sh <build-dir> [autoplay seconds]
source "$(dirname "$0")/../tests/e2e/lib.sh"
autoplay_seconds=${2:-120}
start_xvfb
start_market
export QUOBRIX_FRAME_STATS=1
keyword="连衣裙"
map_keys "$keyword"

rss_kb() { awk '/^VmRSS/{print $2}' "/proc/$CLIENT_PID/status"; }
now_ms() { date +%s%3N; }
wall_shot() { import -window root -crop 1040x700+236+50 "$1" 2>/dev/null; }
# Milliseconds from now until two screenshots 100 ms apart are the same.
settle_ms() {
  local start prev=$WORK/a.png next=$WORK/b.png
  start=$(now_ms)
  wall_shot "$prev"
  for _ in $(seq 1 200); do
    sleep 0.1
    wall_shot "$next"
    if [ "$(compare -metric AE "$prev" "$next" null: 2>&1)" = "0" ]; then
      echo $(( $(now_ms) - start - 100 ))
      return
    fi
    mv "$next" "$prev"
  done
  echo "never"
}
# Samples the resident memory every 0.3 s while the pattern runs in the background.
run_pattern() {
  local pattern=$1 peak=0 rss
  "$pattern" &
  local driver=$!
  while kill -0 "$driver" 2>/dev/null; do
    rss=$(rss_kb); [ "$rss" -gt "$peak" ] && peak=$rss
    sleep 0.3
  done
  wait "$driver"
  PEAK_KB=$peak
}

page_down_80() { for _ in $(seq 1 80); do xdotool key Next; sleep 0.05; done; }
hold_page_down() { xdotool keydown Next; sleep 10; xdotool keyup Next; }
ten_screens_50() { for _ in $(seq 1 50); do xdotool mousemove 737 778 click 1; sleep 0.1; done; xdotool mousemove 60 20; }
drag_20s() {
  local end=$(( $(date +%s) + 20 ))
  while [ "$(date +%s)" -lt "$end" ]; do
    xdotool mousemove 1000 420 mousedown 1 mousemove 900 420 mousemove 700 420 mousemove 500 420 mouseup 1
    xdotool mousemove 400 420 mousedown 1 mousemove 500 420 mousemove 700 420 mousemove 900 420 mouseup 1
  done
  xdotool mousemove 60 20
}
autoplay_fastest() {
  xdotool mousemove 640 778 click 1
  for _ in $(seq 1 10); do xdotool mousemove 700 778 click 1; sleep 0.05; done
  xdotool mousemove 60 20
  sleep "$autoplay_seconds"
  xdotool mousemove 640 778 click 1
  xdotool mousemove 60 20
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for pattern in page_down_80 hold_page_down ten_screens_50 drag_20s autoplay_fastest; do
  (cd "$BIN" && exec ./quobrix 2>"$WORK/stats.log") &
  CLIENT_PID=$!
  E2E_PIDS+=($CLIENT_PID)
  wait_for_main_screen
  xdotool mousemove 300 22 click 1
  xdotool type --delay 30 "$keyword"
  xdotool key Return
  xdotool mousemove 60 20
  sleep 2
  settle_ms >/dev/null
  base=$(rss_kb)
  # The wall takes the keyboard, as a click on it does.
  xdotool mousemove 640 740 click 1 mousemove 60 20
  run_pattern "$pattern"
  recovery=$(settle_ms)
  final=$(rss_kb)
  kill -TERM "$CLIENT_PID"
  wait_exit "$CLIENT_PID" 10
  peaks=$(grep -o 'peak queues: .*' "$WORK/stats.log" || echo "peak queues: unknown")
  awk -v p="$pattern" -v b="$base" -v k="$PEAK_KB" -v f="$final" -v r="$recovery" -v q="$peaks" 'BEGIN{
    printf "%-17s %s; memory first screen %.0f MB, peak %.2fx, final %.2fx (goal <= 1.3x); screen in view settled %s ms after the last input (goal <= 1000)\n",
      p, q, b / 1024, k / b, f / b, r }'
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
