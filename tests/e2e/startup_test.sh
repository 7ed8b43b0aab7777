#!/usr/bin/env bash
# The program starts to its main screen, admits one instance, and on closing
# runs its shut-down sequence (exit 0, picture cache emptied); without a
# display or a Chinese font it says so and ends with exit code 1. It keeps
# its files in the user's folders, brings an older version's over, writes
# its log, and leaves its own folders as they were.
source "$(dirname "$0")/lib.sh"

start_xvfb
start_market

# Without an X display: one line naming DISPLAY, exit code 1, and no
# settings written although the service answered the login.
set +e
out=$(cd "$BIN" && env -u DISPLAY -u WAYLAND_DISPLAY ./quobrix 2>&1 >/dev/null)
code=$?
set -e
[ "$code" -eq 1 ] || fail "no display: exit code $code"
echo "$out" | grep -q 'cannot open the X display (DISPLAY is not set)' || fail "no display: $out"
[ ! -e "$CONFIG" ] || fail "a start that failed wrote $CONFIG"
rm -rf "$HOME"/.[a-z]*

# An older version kept its lists beside the program: the first start brings them over.
mkdir -p "$DATA/data"
old_favourite='<?xml version="1.0" encoding="utf-8" standalone="yes" ?><items_list><item_list><num_iid>123456789</num_iid><title>old</title><nick>a</nick><pic_path>http://127.0.0.1:9/pic/1.jpg</pic_path><type>fixed</type><price>1.00</price><credit>1</credit><num>1</num><delist_time></delist_time><state></state><city></city><express_fee></express_fee><product_address></product_address><reputation>1.00</reputation></item_list></items_list>'
echo "$old_favourite" > "$DATA/data/favorite.xml"
program_files=$(cd "$WORK" && find bin datafiles -exec stat -c '%n %s %Y' {} + | sort)
mkdir -p "$CACHE/img/sub"
echo stale > "$CACHE/img/stale.jpg"
echo stale > "$CACHE/img/sub/stale.jpg"
chmod 0444 "$CACHE/img/stale.jpg"

start_client
wait_for_main_screen
shot=$(screenshot "startup-main-screen")
echo "main screen: $shot ($(colour_count "$shot") colours)"

# A second instance ends at once, silently, with exit code 0.
(cd "$BIN" && exec ./quobrix) &
second=$!
wait_exit "$second" 1
[ "$EXIT_CODE" -eq 0 ] || fail "second instance exit code $EXIT_CODE"
kill -0 "$CLIENT_PID" || fail "first instance died"

# The close button (top right of the top bar) quits like a user would.
xdotool mousemove 1256 21 click 1
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after close"
[ ! -e "$CACHE/img/stale.jpg" ] || fail "picture cache not emptied"
[ ! -e "$CACHE/img/sub/stale.jpg" ] || fail "picture cache subfolder not emptied"
[ -d "$CACHE/img/sub" ] || fail "cache folders must stay"
grep -q '<num_iid>123456789</num_iid>' "$LISTS/favorite.xml" || fail "the old favourites were not brought over"
[ "$(cd "$WORK" && find bin datafiles -exec stat -c '%n %s %Y' {} + | sort)" = "$program_files" ] ||
  fail "the program's own folders changed"
for line in 'quobrix 2\.6 starts' "data $DATA" 'gateway http://127\.0\.0\.1:[0-9]*/router/rest' 'main screen ready' 'quobrix ends with exit code 0$'; do
  grep -q "$line" "$LOG" || fail "the log has no line '$line'"
done
if [ -n "${QUOBRIX_SERVICE_URL:-}" ]; then
  # The first run logged in, installed the recommendation package and
  # reported its statistics at the end.
  grep -q '^UserID=[1-9]' "$CONFIG" || fail "no user id stored after the login"
  [ -s "$LISTS/recommend.xml" ] || fail "recommendation package not installed"
  curl -sf "$QUOBRIX_SERVICE_URL/admin/statistics" | grep -q 'uid=[1-9][0-9]*&us=' || fail "no statistics received"
fi

# A lock place that cannot hold the file is not "another instance": the
# program starts with its lock elsewhere.
QUOBRIX_LOCK_FILE=/nonexistent-quobrix-dir/quobrix.lock start_client
wait_for_main_screen
kill -TERM "$CLIENT_PID"
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE with the lock elsewhere"

# No Chinese font anywhere: the message in a box, the files looked for on
# stderr, exit code 1.
cat >"$WORK/no-fonts.conf" <<'CONF'
<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "fonts.dtd"><fontconfig><cachedir>NOFONTS/cache</cachedir></fontconfig>
CONF
sed -i "s|NOFONTS|$WORK|" "$WORK/no-fonts.conf"
mkdir -p "$WORK/no-fonts"
set +e
out=$(cd "$BIN" && FONTCONFIG_FILE="$WORK/no-fonts.conf" QUOBRIX_FONTS_DIR="$WORK/no-fonts" timeout 30 ./quobrix 2>&1 >/dev/null)
code=$?
set -e
[ "$code" -eq 1 ] || fail "no font: exit code $code"
echo "$out" | grep -q "no Chinese font could be loaded; looked for $WORK/no-fonts/simhei.TTF" || fail "no font: $out"
grep -q '请安装中文字体' "$QUOBRIX_MESSAGEBOX_LOG" || fail "no font: no message box"

# SIGTERM is a quit request too: the same shut-down, exit code 0.
start_client
wait_for_main_screen
kill -TERM "$CLIENT_PID"
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after SIGTERM"
echo PASS
