#!/usr/bin/env bash
# Installs what is missing, builds, starts the local marketplace and then the
# client. Without a display the client runs under Xvfb for a while
# ($QUOBRIX_HEADLESS_SECONDS, default 40) and screenshots are written every
# 5 seconds to build/screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build="$root/${QUOBRIX_BUILD_DIR:-build}"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

port=${QUOBRIX_MARKET_PORT:-8600}
export QUOBRIX_TOP_URL=${QUOBRIX_TOP_URL:-http://127.0.0.1:$port/router/rest}
export QUOBRIX_SERVICE_URL=${QUOBRIX_SERVICE_URL:-http://127.0.0.1:$port}
# The local market is reached directly even where a proxy is set for the rest.
exempt=${no_proxy:-${NO_PROXY:-}}
export no_proxy="127.0.0.1${exempt:+,$exempt}"
if [ -x "$build/bin/quobrix-market" ]; then
  "$build/bin/quobrix-market" --port "$port" --data-dir "$build/market-data" &
  pids+=($!)
  for _ in $(seq 1 600); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
  done
fi

if [ -n "${DISPLAY:-}" ]; then
  "$build/bin/quobrix"
  exit 0
fi

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

shots="$build/screenshots"
mkdir -p "$shots"
echo "No display: running under Xvfb $display; screenshots go to $shots"
"$build/bin/quobrix" &
client=$!
seconds=${QUOBRIX_HEADLESS_SECONDS:-40}
for i in $(seq 5 5 "$seconds"); do
  sleep 5
  kill -0 "$client" 2>/dev/null || break
  import -window root "$shots/quobrix-$(printf %03d "$i")s.png" 2>/dev/null || true
done
kill -TERM "$client" 2>/dev/null || true
wait "$client" || true
echo "Screenshots: $(ls "$shots" | wc -l) in $shots"
