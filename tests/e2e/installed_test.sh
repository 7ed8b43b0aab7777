#!/usr/bin/env bash
# Installed into a prefix nobody may write, the program runs like any Linux
# program: it shows cards, keeps a favourite in the user's data folder, writes
# its log in the user's state folder, and changes nothing under the prefix.
source "$(dirname "$0")/lib.sh"

PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null || fail "cmake --install failed"
BIN="$PREFIX/bin"
[ -x "$BIN/quobrix" ] || fail "no quobrix installed"
[ ! -e "$PREFIX/datafiles" ] || fail "a build-tree data folder was installed"

# Root ignores permissions but not the immutable attribute.
if [ "$(id -u)" -eq 0 ]; then
  chattr -R +i "$PREFIX"
  trap 'chattr -R -i "$PREFIX"; e2e_cleanup' EXIT
else
  chmod -R a-w "$PREFIX"
  trap 'chmod -R u+w "$PREFIX"; e2e_cleanup' EXIT
fi
touch "$PREFIX/bin/probe" 2>/dev/null && fail "the prefix is still writable"
prefix_files=$(find "$PREFIX" -exec stat -c '%n %s %Y' {} + | sort)

FAVOURITE_BUTTON="912 269"
page_is_shown() { awk "BEGIN{exit !($(region_mean "$1" 770x400+255+298) > 0.85)}"; }

start_xvfb
start_market
[ -n "${QUOBRIX_SERVICE_URL:-}" ] || fail "the installed market did not start"
start_client
wait_for_main_screen
search_for "手机"
wait_for 20 cards_are_shown || fail "the search shows no cards"
echo "installed, search: $(screenshot installed-search)"
xdotool mousemove 500 200 click 1
wait_for 30 page_is_shown || fail "the detail window did not open"
xdotool mousemove $FAVOURITE_BUTTON click 1
sleep 0.5
xdotool mousemove 1256 21 click 1
wait_exit "$CLIENT_PID" 15
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE"

grep -q '<num_iid>[0-9]' "$LISTS/favorite.xml" || fail "the favourite is not in $LISTS/favorite.xml"
grep -q "data $PREFIX/share/quobrix" "$LOG" || fail "the log does not name the installed data"
grep -q "saved $LISTS/favorite.xml" "$LOG" || fail "the log does not name the saved favourites"
[ -s "$CONFIG" ] || fail "no settings in $CONFIG"
[ "$(find "$PREFIX" -exec stat -c '%n %s %Y' {} + | sort)" = "$prefix_files" ] || fail "the prefix changed"
echo PASS
