#!/usr/bin/env bash
# The program's window carries the X11 class the desktop entry names and the
# program's icon, so task bars and docks show it as Quobrix.
source "$(dirname "$0")/lib.sh"

start_xvfb
start_market
start_client
wait_for_main_screen

window=$(xdotool search --pid "$CLIENT_PID" | head -1)
[ -n "$window" ] || fail "no window of the client"
class=$(xprop -id "$window" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "quobrix", "quobrix"' ] || fail "window class: $class"
# The icon property holds the 128 x 128 picture from the data folder, not blank.
xprop -id "$window" _NET_WM_ICON >"$WORK/icon.txt"
grep -q 'Icon (128 x 128):' "$WORK/icon.txt" || fail "no 128 x 128 icon: $(head -c 200 "$WORK/icon.txt")"
xprop -id "$window" -notype 32c _NET_WM_ICON | tr ',' '\n' | sed -n '3,$p' | sort -u | wc -l >"$WORK/colours"
[ "$(cat "$WORK/colours")" -gt 10 ] || fail "the icon has $(cat "$WORK/colours") distinct pixels"
echo "window $window: $class, icon 128 x 128"
