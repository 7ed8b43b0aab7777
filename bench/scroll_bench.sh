#!/usr/bin/env bash
# Scrolling patterns on a large search in the real program under Xvfb: the
# peak queue lengths (the program's own count, QUOBRIX_FRAME_STATS=1), the
# peak and final resident memory against the first screen complete (goal:
# at most 1.3x), and the time from the last input until every card of the
# screen in view is there (the client's own report; goal: at most 1 s),
# then until the wall has come to rest as well.
# Usage: bench/scroll_bench.sh <build-dir> [autoplay seconds [pattern ...]]
source "$(dirname "$0")/../tests/e2e/lib.sh"
autoplay_seconds=${2:-120}
patterns=("${@:3}")
[ ${#patterns[@]} -gt 0 ] || patterns=(page_down_80 hold_page_down ten_screens_50 drag_20s autoplay_fastest)
start_xvfb
start_market
keyword="新款"  # in about 6 700 titles of the market's catalogue
map_keys "$keyword"

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
# The play button, then "+" (faster) until the fastest level; at the end
# the button again, only while "NN 秒/屏" says auto-play still runs (it
# ends by itself at the end of the results, and the button would restart it).
autoplay_fastest() {
  xdotool mousemove 640 778 click 1
  for _ in $(seq 1 10); do xdotool mousemove 810 778 click 1; sleep 0.05; done
  xdotool mousemove 60 20
  sleep "$autoplay_seconds"
  local shot
  shot=$(screenshot autoplay-end)
  if awk "BEGIN{exit !($(convert "$shot" -crop 100x30+830+764 +repage -format '%[fx:mean.r]' info:) > 0.185)}"; then
    xdotool mousemove 640 778 click 1
  else
    echo "auto-play had ended by itself" >&2
  fi
  xdotool mousemove 60 20
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for pattern in "${patterns[@]}"; do
  start_client_with_stats
  wait_for_main_screen
  search_for "$keyword"
  sleep 2
  settle_ms >/dev/null
  base=$(client_rss_kb)
  # The wall takes the keyboard, as a click on it does.
  xdotool mousemove 640 740 click 1 mousemove 60 20
  told_before=$(wc -l <"$WORK/stats.log")
  run_sampling_rss "$pattern"
  recovery=$(completion_ms "$WORK/stats.log" "$told_before")
  rest=$(settle_ms)
  final=$(client_rss_kb)
  kill -TERM "$CLIENT_PID"
  wait_exit "$CLIENT_PID" 10
  peaks=$(grep -o 'peak queues: .*' "$WORK/stats.log" || echo "peak queues: unknown")
  awk -v p="$pattern" -v b="$base" -v k="$PEAK_KB" -v f="$final" -v r="$recovery" -v s="$rest" -v q="$peaks" 'BEGIN{
    printf "%-17s %s; memory first screen %.0f MB, peak %.2fx, final %.2fx (goal <= 1.3x); screen in view complete %s ms after the last input (goal <= 1000), at rest %s ms later\n",
      p, q, b / 1024, k / b, f / b, r, s }'
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
