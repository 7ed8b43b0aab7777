#!/usr/bin/env bash
# Quitting never waits for the network: with a gateway that never answers,
# answers after 30 s, pictures that trickle, or a service that takes the
# usage statistics and never answers, a search is in flight when the user
# quits, and the program still ends within a second, with exit code 0 and
# its lists written; a second start right after runs normally.
source "$(dirname "$0")/lib.sh"

start_xvfb
start_market
[ -n "${QUOBRIX_SERVICE_URL:-}" ] || fail "no market built"

fault() { curl -sf "$QUOBRIX_SERVICE_URL/admin/faults?$1" >/dev/null || fail "fault $1 refused"; }
now_ms() { date +%s%3N; }

keyword="连衣裙"
map_keys "$keyword"

# Starts the client, searches with the fault switched on, quits the way
# given ("close" or "term") and checks the time to the end of the process.
quit_under() {
  local faults=$1 how=$2 started elapsed
  fault "fault=none"
  rm -f "$LISTS/favorite.xml" "$LISTS/shop.xml" "$LISTS/history.xml"
  start_client
  wait_for_main_screen
  fault "$faults"
  xdotool mousemove 300 22 click 1
  xdotool type --delay 30 "$keyword"
  xdotool key Return
  # The search is on its way and hangs on the fault.
  sleep 1.5
  kill -0 "$CLIENT_PID" || fail "$faults: client died"
  started=$(now_ms)
  if [ "$how" = close ]; then
    xdotool mousemove 1256 21 click 1
  else
    kill -TERM "$CLIENT_PID"
  fi
  wait_exit "$CLIENT_PID" 20
  elapsed=$(( $(now_ms) - started ))
  echo "$faults ($how): quit in $elapsed ms, exit code $EXIT_CODE"
  [ "$EXIT_CODE" -eq 0 ] || fail "$faults: exit code $EXIT_CODE"
  [ "$elapsed" -le 1000 ] || fail "$faults: quitting took $elapsed ms"
  for list in favorite shop history; do
    [ -s "$LISTS/$list.xml" ] || fail "$faults: $list.xml not written"
  done
}

quit_under "fault=drop&scope=gateway&latency=60000" close
quit_under "fault=none&scope=gateway&latency=30000" term
quit_under "fault=trickle&scope=pictures" close
quit_under "fault=drop&scope=service&latency=60000" close

# A second start right after the close runs normally.
fault "fault=none"
start_client
wait_for_main_screen
kill -TERM "$CLIENT_PID"
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 0 ] || fail "restart: exit code $EXIT_CODE"
echo PASS
