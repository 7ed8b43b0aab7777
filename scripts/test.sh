#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. Tests that need a
# display get a private Xvfb server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "$root/${QUOBRIX_BUILD_DIR:-build}"
xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" ctest --output-on-failure -j2 "$@"
