#!/usr/bin/env bash
# Upgrade notices in the program's own window, answered as a person does:
# Cancel turns optional notices off, OK (Enter) opens the download page and
# quits, and a forced upgrade quits after OK.
source "$(dirname "$0")/lib.sh"
unset QUOBRIX_MESSAGEBOX_ANSWER
cat >"$WORK/browser" <<SCRIPT
#!/bin/sh
echo "\$1" >>"$WORK/browser.log"
SCRIPT
chmod +x "$WORK/browser"
export QUOBRIX_BROWSER="$WORK/browser"

# The dialog's OK button (orange) in the middle of the 1280x800 screen.
OK_BUTTON=100x30+625+457
dialog_shown() { awk "BEGIN{exit !($(convert "$1" -crop "$OK_BUTTON" +repage -format '%[fx:mean.r-mean.b]' info:) > 0.3)}"; }
wait_for_dialog() {
  local shot
  for _ in $(seq 1 100); do
    kill -0 "$CLIENT_PID" 2>/dev/null || fail "client exited before its notice"
    shot=$(screenshot "notice-$1")
    dialog_shown "$shot" && return 0
    sleep 0.2
  done
  fail "no notice dialog ($1)"
}
# Every start is a first start: it logs in and hears the market's command.
fresh_start() {
  rm -f "$CONFIG" "$WORK/browser.log"
  curl -sf "$QUOBRIX_SERVICE_URL/admin/login?cmd=$1" >/dev/null || fail "market refused cmd=$1"
  start_client
  wait_for_main_screen
}

start_xvfb
start_market

fresh_start 2
wait_for_dialog optional-cancel
xdotool mousemove 795 475 click 1
sleep 1
kill -0 "$CLIENT_PID" || fail "Cancel quit the program"
kill -TERM "$CLIENT_PID"
wait_exit "$CLIENT_PID" 10
grep -q '^KeepUpgradeNotify=0' "$CONFIG" || fail "Cancel did not turn the notices off"
[ ! -e "$WORK/browser.log" ] || fail "Cancel opened a page"

fresh_start 2
wait_for_dialog optional-ok
xdotool key Return
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after accepting the upgrade"
grep -q '/quobrix/download.htm' "$WORK/browser.log" || fail "OK did not open the download page"
grep -q '^KeepUpgradeNotify=0' "$CONFIG" && fail "OK turned the notices off"

fresh_start 1
wait_for_dialog forced
xdotool mousemove 675 472 click 1
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the forced upgrade"
grep -q '/quobrix/download.htm' "$WORK/browser.log" || fail "the forced upgrade did not open the download page"

# A notice left unanswered when the window closes is no answer.
fresh_start 2
wait_for_dialog unanswered
kill -TERM "$CLIENT_PID"
wait_exit "$CLIENT_PID" 10
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE closing over a notice"
if grep -q '^KeepUpgradeNotify=0' "$CONFIG" 2>/dev/null; then fail "an unanswered notice was taken as Cancel"; fi
echo PASS
