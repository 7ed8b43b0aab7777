# Helpers for whole-program tests: a private X server, the local marketplace,
# the client, screenshots and pixel checks. Every process started here is
# stopped by PID when the test ends.
set -euo pipefail

BUILD=${1:?build directory}
WORK=$(mktemp -d /tmp/qx-e2e-XXXXXX)
# The program runs from a copy of bin/ and datafiles/ with a home of its own,
# so what a test run stores (settings, favourites, the recommendation package,
# caches, the log) never reaches the build tree or the folders of the person
# who runs it.
cp -r "$BUILD/bin" "$BUILD/datafiles" "$WORK/"
BIN="$WORK/bin"
DATA="$WORK/datafiles"
rm -f "$BIN/config.ini"
export HOME="$WORK/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_STATE_HOME="$HOME/.local/state"
CONFIG="$XDG_CONFIG_HOME/quobrix/config.ini"
LISTS="$XDG_DATA_HOME/quobrix"
CACHE="$XDG_CACHE_HOME/quobrix"
LOG="$XDG_STATE_HOME/quobrix/quobrix.log"
mkdir -p "$HOME"
SHOTS="$BUILD/e2e-screenshots"
mkdir -p "$SHOTS"
export QUOBRIX_LOCK_FILE="$WORK/instance.lock"
export QUOBRIX_MESSAGEBOX_ANSWER=ok
export QUOBRIX_MESSAGEBOX_LOG="$WORK/boxes.log"
export QUOBRIX_BROWSER=/bin/true
E2E_PIDS=()

e2e_cleanup() {
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

start_xvfb() {
  local n
  for n in $(seq 200 260); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
  done
  fail "no X server"
}

start_market() {
  [ -x "$BIN/quobrix-market" ] || return 0
  local port
  port=$((20000 + RANDOM % 20000))
  # A folder of its own: the in-process test market keeps a smaller catalogue
  # in test-market/, and the two would otherwise regenerate each other's.
  "$BIN/quobrix-market" --port "$port" --data-dir "$BUILD/e2e-market" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  export QUOBRIX_TOP_URL="http://127.0.0.1:$port/router/rest"
  export QUOBRIX_SERVICE_URL="http://127.0.0.1:$port"
  for _ in $(seq 1 600); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && return 0
    sleep 0.1
  done
  fail "market did not start"
}

# Starts the client in the background; CLIENT_PID is its PID.
start_client() {
  (cd "$BIN" && exec ./quobrix) &
  CLIENT_PID=$!
  E2E_PIDS+=($CLIENT_PID)
}

# The same with the client's own figures on (QUOBRIX_FRAME_STATS=1): its
# stderr goes to $WORK/stats.log.
start_client_with_stats() {
  (cd "$BIN" && QUOBRIX_FRAME_STATS=1 exec ./quobrix 2>"$WORK/stats.log") &
  CLIENT_PID=$!
  E2E_PIDS+=($CLIENT_PID)
}

# Types a keyword into the search box, searches, and parks the mouse on the
# logo; again (up to three times) while the search view has not come, as
# keys typed into a window that has just appeared can be lost.
search_for() {
  local shot
  for _ in 1 2 3; do
    xdotool mousemove 300 22 click 1
    sleep 0.3
    xdotool key ctrl+a BackSpace
    xdotool type --delay 60 "$1"
    xdotool key Return
    xdotool mousemove 60 20
    for _ in $(seq 1 20); do
      shot=$(screenshot search-view)
      # "返回导购" top right shows everywhere but on the recommendations.
      awk "BEGIN{exit !($(region_mean "$shot" 90x24+1135+10) > 0.24)}" && return 0
      sleep 0.25
    done
  done
  fail "the search for $1 did not start"
}

screenshot() {
  import -window root "$SHOTS/$1.png"
  echo "$SHOTS/$1.png"
}

# Mean brightness (0..1) of a region WxH+X+Y of a screenshot.
region_mean() {
  convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:mean]' info:
}

# Number of distinct colours in a region WxH+X+Y of a screenshot.
region_colours() { convert "$1" -crop "$2" +repage -format '%k' info:; }

# A card's picture and text band on the wall, which a notice would cover.
cards_are_shown() { [ "$(region_colours "$1" 160x60+420+300)" -gt 60 ] && [ "$(region_colours "$1" 60x60+1000+600)" -gt 30 ]; }

# Waits up to $1 seconds for the command $2 to succeed on a fresh
# screenshot of the running client (passed to it as its argument).
wait_for() {
  local limit=$1 check=$2 shot
  for _ in $(seq 1 $((limit * 4))); do
    kill -0 "$CLIENT_PID" 2>/dev/null || fail "client exited"
    shot=$(screenshot "wait-for")
    "$check" "$shot" && return 0
    sleep 0.25
  done
  return 1
}

# Number of distinct colours in a screenshot.
colour_count() {
  convert "$1" -format '%k' info:
}

# Waits until the client's window shows the main screen: the top bar is drawn
# and the screen is no longer one flat colour.
wait_for_main_screen() {
  local shot
  for i in $(seq 1 150); do
    kill -0 "$CLIENT_PID" 2>/dev/null || fail "client exited early"
    shot=$(screenshot "wait")
    if [ "$(colour_count "$shot")" -gt 50 ] &&
       awk "BEGIN{exit !($(region_mean "$shot" 1280x40+0+0) > 0.05)}"; then
      return 0
    fi
    sleep 0.2
  done
  fail "main screen did not appear"
}

# Waits up to $2 seconds for PID $1 to end; sets EXIT_CODE.
wait_exit() {
  local pid=$1 limit=$2
  for _ in $(seq 1 $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      set +e
      wait "$pid"
      EXIT_CODE=$?
      set -e
      return 0
    fi
    sleep 0.1
  done
  fail "process $pid still running after $limit s"
}

# xdotool types a character the keymap lacks by remapping a key for a moment;
# a client busy drawing reads the map after it was put back and gets
# nothing. Each character of the text gets a key of its own before typing
# (up to 56 different characters).
map_keys() {
  local code=200 ch hex
  for ch in $(printf '%s' "$1" | grep -o . | sort -u); do
    hex=$(printf '%s' "$ch" | iconv -f UTF-8 -t UTF-32BE | od -An -tx1 | tr -d ' \n')
    xmodmap -e "keycode $code = 0x$(printf '%x' $((0x1000000 + 0x$hex)))"
    code=$((code + 1))
  done
}

# Resident memory of the client in KiB.
client_rss_kb() { awk '/^VmRSS/{print $2}' "/proc/$CLIENT_PID/status"; }
now_ms() { date +%s%3N; }
# The part of the screen the wall's cards fill.
wall_shot() { import -window root -crop 1040x700+236+50 "$1" 2>/dev/null; }

# Milliseconds from now until the wall stops changing: two screenshots
# 100 ms apart are the same (the time of the first of them); "never" after
# 20 s. The settled screenshot is left in $WORK/settled.png.
settle_ms() {
  local start prev=$WORK/settle-a.png next=$WORK/settle-b.png
  start=$(now_ms)
  wall_shot "$prev"
  for _ in $(seq 1 200); do
    sleep 0.1
    wall_shot "$next"
    if [ "$(compare -metric AE "$prev" "$next" null: 2>&1)" = "0" ]; then
      cp "$next" "$WORK/settled.png"
      echo $(( $(now_ms) - start - 100 ))
      return
    fi
    mv "$next" "$prev"
  done
  echo "never"
}

# Runs the function $1 in the background and samples the client's resident
# memory every 0.3 s until it ends; PEAK_KB is the highest sample.
run_sampling_rss() {
  local peak=0 rss driver
  "$1" &
  driver=$!
  while kill -0 "$driver" 2>/dev/null; do
    rss=$(client_rss_kb); [ "$rss" -gt "$peak" ] && peak=$rss
    sleep 0.3
  done
  wait "$driver"
  PEAK_KB=$peak
}

# The client's own report (QUOBRIX_FRAME_STATS=1, its stderr in $1): the
# last line "screen in view complete N ms after the last input" beyond the
# first $2 lines (count them before the input starts: a screen complete at
# once is told before the driver has ended). Waits up to 10 s for one, then
# 1.5 s more for a later one; prints N, or "never".
completion_ms() {
  local log=$1 skip=$2 found=
  last_completion() { tail -n +"$((skip + 1))" "$log" | grep -o 'screen in view complete [0-9]* ms' | tail -1 || true; }
  for _ in $(seq 1 100); do
    found=$(last_completion)
    [ -n "$found" ] && break
    sleep 0.1
  done
  if [ -z "$found" ]; then
    echo never
    return
  fi
  sleep 1.5
  last_completion | grep -o '[0-9]*'
}
