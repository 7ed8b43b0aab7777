#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. Tests that need a
# display get a private Xvfb server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "$root/${QUOBRIX_BUILD_DIR:-build}"
# A test that fails is run once more before it counts as failed: the
# end-to-end runs drive a real X server with synthetic input, and their
# timing depends on the load of a two-core machine.
xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" ctest --output-on-failure -j2 --repeat until-pass:2 "$@"
