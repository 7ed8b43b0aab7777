#!/usr/bin/env bash
# Configures and builds Quobrix into build/ (or $QUOBRIX_BUILD_DIR).
# Extra arguments go to the configure step, e.g. -DQX_SANITIZE=address;
# $QUOBRIX_TARGETS, when set, names the targets to build instead of all.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${QUOBRIX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
targets=()
for t in ${QUOBRIX_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build_dir" -j2 "${targets[@]}"
