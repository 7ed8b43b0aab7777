#!/usr/bin/env bash
# A still screen is not drawn again, and whatever changes on it still is:
# the roaming wall left alone costs next to no CPU (a loop drawing it again
# and again takes more than half a core), a typed character appears at once,
# and a tooltip appearing under a mouse held still is drawn while the wall
# beside it stays as it is.
source "$(dirname "$0")/lib.sh"

keyword="新款"
start_xvfb
start_market
map_keys "$keyword"
start_client
wait_for_main_screen
xdotool mousemove 60 20
sleep 3

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$CLIENT_PID/stat"; }
before=$(cpu_ticks)
sleep 4
percent=$(( ($(cpu_ticks) - before) * 100 / (ticks * 4) ))
[ "$percent" -lt 10 ] || fail "a still screen used $percent % of a core"

region_md5() { import -window root -crop "$1" +repage png:- 2>/dev/null | md5sum; }

# Input: each typed character is drawn.
xdotool mousemove 300 22 click 1 mousemove 60 20
sleep 0.5
xdotool type "a"
sleep 0.3
box_before=$(region_md5 200x24+192+10)
xdotool type "b"
sleep 0.3
[ "$box_before" != "$(region_md5 200x24+192+10)" ] || fail "a typed character was not drawn"

# A GUI change with nothing else moving: the tooltip of the detail window's
# close button appears under a mouse held still, the wall beside it stays.
search_for "$keyword"
sleep 3
xdotool mousemove 500 200 click 1 mousemove 60 20
sleep 3
awk "BEGIN{exit !($(region_mean "$(screenshot detail)" 400x4+300+450) > 0.8)}" || fail "the detail window did not open"
xdotool mousemove 1016 78
sleep 0.1
tip_before=$(region_md5 300x80+900+60)
wall_before=$(region_md5 230x500+1045+200)
sleep 2
[ "$tip_before" != "$(region_md5 300x80+900+60)" ] || fail "the close button's tooltip was not drawn"
[ "$wall_before" = "$(region_md5 230x500+1045+200)" ] || fail "the still wall changed under the tooltip"

kill -TERM "$CLIENT_PID"
wait_exit "$CLIENT_PID" 10
echo "still screen: $percent % of a core"
