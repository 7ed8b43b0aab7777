#!/usr/bin/env bash
# A lists folder that cannot be written is never silent: the user is told at
# start which folder, the log names each file that could not be saved, the
# files already there stay as they were, and the run ends with exit code 1.
# With statistics turned off in the settings nothing reaches the service.
source "$(dirname "$0")/lib.sh"

start_xvfb
start_market
[ -n "${QUOBRIX_SERVICE_URL:-}" ] || fail "no market built"

# The folder made read-only the way that binds the user running the test:
# root ignores permissions but not the immutable attribute.
lock_folder() {
  if [ "$(id -u)" -eq 0 ]; then chattr +i "$1"; else chmod a-w "$1"; fi
}
unlock_folder() {
  if [ "$(id -u)" -eq 0 ]; then chattr -i "$1"; else chmod u+w "$1"; fi
}

mkdir -p "$LISTS" "$(dirname "$CONFIG")"
favourites='<?xml version="1.0" encoding="utf-8" standalone="yes" ?><items_list><item_list><num_iid>987654321</num_iid><title>kept</title><nick>a</nick><pic_path>http://127.0.0.1:9/pic/1.jpg</pic_path><type>fixed</type><price>1.00</price><credit>1</credit><num>1</num><delist_time></delist_time><state></state><city></city><express_fee></express_fee><product_address></product_address><reputation>1.00</reputation></item_list></items_list>'
echo "$favourites" > "$LISTS/favorite.xml"
printf '[Privacy]\r\nSendUsageStatistics=0\r\n' > "$CONFIG"
lock_folder "$LISTS"
trap 'unlock_folder "$LISTS"; e2e_cleanup' EXIT
curl -sf "$QUOBRIX_SERVICE_URL/admin/statistics" >"$WORK/statistics.before" || fail "no statistics endpoint"

start_client
wait_for_main_screen
grep -q "Quobrix提示|文件夹 $LISTS 无法写入" "$QUOBRIX_MESSAGEBOX_LOG" || fail "no notice names the folder: $(cat "$QUOBRIX_MESSAGEBOX_LOG" 2>/dev/null)"
xdotool mousemove 1256 21 click 1
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 1 ] || fail "lists that could not be saved ended with exit code $EXIT_CODE"
[ "$(cat "$LISTS/favorite.xml")" = "$favourites" ] || fail "the old favourites changed"
grep -q "could not save $LISTS/favorite.xml (cannot create: " "$LOG" || fail "the log does not name the file"
grep -q "quobrix ends with exit code 1; a file could not be saved$" "$LOG" || fail "the log does not end with the failure"
grep -q 'usage statistics not sent: turned off' "$LOG" || fail "the log does not say why no statistics went"
curl -sf "$QUOBRIX_SERVICE_URL/admin/statistics" >"$WORK/statistics.after"
cmp -s "$WORK/statistics.before" "$WORK/statistics.after" || fail "statistics were sent although turned off"
grep -q '^SendUsageStatistics=0' "$CONFIG" || fail "the switch did not survive the run"
echo PASS
