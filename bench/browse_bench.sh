#!/usr/bin/env bash
# Browsing speed of the real program under Xvfb against the local market,
# read off the screen: Enter in the search box to the first screen of cards
# complete (20 searches, each keyword searched once before so the market has
# drawn its pictures, as a warm server would have), and the intervals between
# frames while auto-play runs through a list of more than 2 000 results;
# min/median/p95/max beside the goals.
# Usage: bench/browse_bench.sh <build-dir>
source "$(dirname "$0")/../tests/e2e/lib.sh"

# "包邮" first: 11 000 results in the generated catalogue, for auto-play.
keywords="包邮 正品 纯棉 新款 大容量 百搭 防水 修身 太平鸟 骆驼 原味 精选 零食 有机 特级"
export QX_BENCH_KEYWORDS="$keywords"

start_xvfb
start_market
start_client
wait_for_main_screen
map_keys "${keywords// /}"

# The search box gets the keyboard once; everything after is typed.
xdotool mousemove 300 22 click 1
xdotool mousemove 60 20
# Each keyword once, so the market has drawn its first pictures.
for word in $keywords; do
  xdotool key --delay 10 --repeat 12 BackSpace
  xdotool type --delay 40 "$word"
  xdotool key Return
  sleep 2
done

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$BUILD/bench/bench_browse_e2e"
xdotool mousemove 1256 21 click 1
wait_exit "$CLIENT_PID" 10
