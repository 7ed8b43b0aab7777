#!/usr/bin/env bash
# CPU of a still screen: the process's own CPU time over 10 s of a main
# screen nobody touches (roaming wall, search results, a product's detail
# window open), min/median/max over the runs, against the goal of at most
# 3 % of one core.
# Usage: bench/still_cpu_bench.sh <build-dir> [runs]
source "$(dirname "$0")/../tests/e2e/lib.sh"
runs=${2:-10}
start_xvfb
start_market
ticks=$(getconf CLK_TCK)
keyword="新款"
map_keys "$keyword"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$CLIENT_PID/stat"; }
# Percent of one core the client used over the next 10 s.
still_percent() {
  local before after
  before=$(cpu_ticks)
  sleep 10
  after=$(cpu_ticks)
  awk "BEGIN{printf \"%.1f\", ($after - $before) * 100 / ($ticks * 10)}"
}
summary() {
  printf '%s\n' "$@" | sort -n | awk -v label="$LABEL" '{a[NR]=$1} END{printf "%s: min %s %%, median %s %%, max %s %% (goal <= 3 %%)\n", label, a[1], a[int((NR+1)/2)], a[NR]}'
}

roam=() search=() detail=()
for run in $(seq 1 "$runs"); do
  start_client
  wait_for_main_screen
  xdotool mousemove 60 20
  sleep 3
  roam+=($(still_percent))
  search_for "$keyword"
  sleep 4
  search+=($(still_percent))
  # The first card of the results opens; the mouse goes back to the logo.
  xdotool mousemove 500 200 click 1 mousemove 60 20
  sleep 4
  detail+=($(still_percent))
  kill -TERM "$CLIENT_PID"
  wait_exit "$CLIENT_PID" 10
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
LABEL="still roaming wall, CPU of one core over 10 s ($runs runs)" summary "${roam[@]}"
LABEL="still search results, CPU of one core over 10 s ($runs runs)" summary "${search[@]}"
LABEL="detail window open, CPU of one core over 10 s ($runs runs)" summary "${detail[@]}"
