#!/usr/bin/env bash
# Browsing as a person does it: the recommendation wall at start, a Chinese
# keyword typed, selected with Shift+Home, cut and pasted back, and searched, sorting by price, paging with the buttons and
# the keyboard, a drag, auto-play, back to the recommendations and back and
# forward through the history. Every step is checked on screenshots.
source "$(dirname "$0")/lib.sh"

# Regions of the 1280x800 screen.
WALL=1000x560+260+110
RETURN_BUTTON=90x24+1135+10   # "返回导购": shown everywhere but on the recommendations
PRICE_BUTTON=56x24+986+10     # orange while the wall is sorted by price
SPEED_TEXT=100x30+830+764     # "08 秒/屏" while auto-play runs
SEARCH_TEXT=120x22+192+11     # the start of the search box's text

red_mean() { convert "$1" -crop "$2" +repage -format '%[fx:mean.r]' info:; }
# How much bluer than red a region is: the selection's highlight.
blue_excess() { convert "$1" -crop "$2" +repage -format '%[fx:mean.b-mean.r]' info:; }
gray_mean() { region_mean "$1" "$2"; }
above() { awk "BEGIN{exit !($1 > $2)}"; }

# Normalised difference of the wall region of two screenshots (0 = equal).
wall_difference() {
  local a b
  a=$(mktemp --suffix=.png -p "$WORK") b=$(mktemp --suffix=.png -p "$WORK")
  convert "$1" -crop "$WALL" +repage "$a"
  convert "$2" -crop "$WALL" +repage "$b"
  compare -metric RMSE "$a" "$b" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}

# The mouse rests on the logo, so no card is highlighted.
rest_mouse() { xdotool mousemove 60 20; }

# Waits up to $2 seconds until "$1 <shot>" succeeds; prints the shot.
wait_until() {
  local check=$1 limit=$2 shot
  for _ in $(seq 1 $((limit * 4))); do
    kill -0 "$CLIENT_PID" 2>/dev/null || fail "client exited"
    shot=$(screenshot "browse-poll")
    if $check "$shot"; then
      echo "$shot"
      return 0
    fi
    sleep 0.25
  done
  fail "timed out waiting for: $check"
}

# Two screenshots a moment apart show the same wall: it has come to rest and
# its cards are complete.
settled() {
  local shot=$1 again
  sleep 0.4
  again=$(screenshot "browse-poll-again")
  awk "BEGIN{exit !($(wall_difference "$shot" "$again") < 0.01)}"
}
wall_filled() { above "$(gray_mean "$1" "$WALL")" 0.2 && settled "$1"; }
search_view() { above "$(gray_mean "$1" "$RETURN_BUTTON")" 0.24; }
roam_view() { ! search_view "$1"; }
price_sorted() { above "$(red_mean "$1" "$PRICE_BUTTON")" 0.6; }
auto_playing() { above "$(red_mean "$1" "$SPEED_TEXT")" 0.185; }

keep() { cp "$1" "$SHOTS/browse-$2.png"; echo "$SHOTS/browse-$2.png"; }
differs() { above "$(wall_difference "$1" "$2")" 0.05 || fail "$3: the wall did not change"; }
same() { awk "BEGIN{exit !($(wall_difference "$1" "$2") < 0.05)}" || fail "$3: not the wall seen before"; }

start_xvfb
start_market
start_client
wait_for_main_screen
rest_mouse

is_roam_wall() { roam_view "$1" && wall_filled "$1"; }
roam=$(keep "$(wait_until is_roam_wall 30)" roam)

# A Chinese keyword, typed and searched with Enter.
keyword="连衣裙"
map_keys "$keyword"
xdotool mousemove 300 22 click 1
xdotool type --delay 60 "$keyword"

# Selected from the keyboard, cut and pasted back before it is searched.
sleep 0.5
typed=$(gray_mean "$(keep "$(screenshot browse-poll)" typed)" "$SEARCH_TEXT")
selected() { above "$(blue_excess "$1" "$SEARCH_TEXT")" 0.1; }
cut_out() { awk "BEGIN{exit !($(gray_mean "$1" "$SEARCH_TEXT") < $typed * 0.5)}"; }
pasted() {
  ! selected "$1" && awk "BEGIN{exit !($(gray_mean "$1" "$SEARCH_TEXT") > $typed * 0.8)}"
}
xdotool key shift+Home
keep "$(wait_until selected 5)" selected >/dev/null
xdotool key ctrl+x
keep "$(wait_until cut_out 5)" cut >/dev/null
xdotool key ctrl+v
keep "$(wait_until pasted 5)" pasted >/dev/null
xdotool key Return
rest_mouse
is_search_wall() { search_view "$1" && wall_filled "$1"; }
search=$(keep "$(wait_until is_search_wall 20)" search)
differs "$roam" "$search" "search"

# Sorted by price: other cards, the price button lit.
xdotool mousemove 1010 22 click 1
rest_mouse
is_price_wall() { price_sorted "$1" && wall_filled "$1"; }
sorted=$(keep "$(wait_until is_price_wall 20)" price)
differs "$search" "$sorted" "price sort"

# Paging: the next-screen button, then PageDown and PageUp.
xdotool mousemove 700 778 click 1
rest_mouse
sleep 1.5
next=$(keep "$(wait_until wall_filled 20)" next)
differs "$sorted" "$next" "next screen"
xdotool key Next
sleep 1.5
pagedown=$(keep "$(wait_until wall_filled 20)" pagedown)
differs "$next" "$pagedown" "PageDown"
xdotool key Prior
sleep 1.5
pageup=$(keep "$(wait_until wall_filled 20)" pageup)
differs "$pagedown" "$pageup" "PageUp"

# A drag to the left throws the wall forward.
xdotool mousemove 900 420 mousedown 1
for x in 860 800 720 640 560; do xdotool mousemove "$x" 422; sleep 0.02; done
xdotool mouseup 1
rest_mouse
sleep 1.5
dragged=$(keep "$(wait_until wall_filled 20)" drag)
differs "$pageup" "$dragged" "drag"

# Auto-play: the seconds-per-screen text appears and the wall moves on alone.
xdotool mousemove 640 778 click 1
rest_mouse
playing=$(keep "$(wait_until auto_playing 5)" autoplay)
sleep 3
moved=$(keep "$(screenshot browse-poll)" autoplay-later)
differs "$playing" "$moved" "auto-play"
xdotool mousemove 640 778 click 1
rest_mouse

# Back to the recommendations: the first screen of the recommendation wall.
xdotool mousemove 1180 22 click 1
rest_mouse
returned=$(keep "$(wait_until is_roam_wall 20)" return)
same "$roam" "$returned" "return to the recommendations"

# History: back shows the price-sorted search again, forward the recommendations.
xdotool mousemove 28 778 click 1
rest_mouse
back=$(keep "$(wait_until is_search_wall 20)" back)
price_sorted "$back" || fail "back: the search lost its price sort"
differs "$returned" "$back" "history back"
xdotool mousemove 66 778 click 1
rest_mouse
forward=$(keep "$(wait_until is_roam_wall 20)" forward)
same "$roam" "$forward" "history forward"

xdotool mousemove 1256 21 click 1
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE"
echo PASS
