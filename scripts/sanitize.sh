#!/usr/bin/env bash
# Builds the tests with a sanitizer and runs them.
#   scripts/sanitize.sh address   the whole suite under AddressSanitizer + UBSan
#   scripts/sanitize.sh thread    the threaded subsystems under ThreadSanitizer
# Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?address or thread}
shift
"$root/scripts/setup.sh"
export QUOBRIX_BUILD_DIR="build-$kind"
threaded=(taobao download render service)
if [ "$kind" = thread ]; then
  # The card tests read the program's pictures where the program finds them.
  QUOBRIX_TARGETS="datafiles"
  for folder in "${threaded[@]}"; do
    [ -d "$root/tests/$folder" ] && QUOBRIX_TARGETS+=" test_$folder"
  done
  export QUOBRIX_TARGETS
fi
"$root/scripts/build.sh" -DQX_SANITIZE="$kind"
cd "$root/$QUOBRIX_BUILD_DIR"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Leaks inside the system's GL, font and GUI libraries are theirs, not ours.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/scripts/tsan.supp"
if [ "$kind" = thread ]; then
  # GL drivers run threads of their own that TSan cannot see into; the
  # threaded product code is the data layer, the pipeline and the service.
  set -- -L "^($(IFS='|'; echo "${threaded[*]}"))\$" "$@"
fi
run_ctest() {
  xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" ctest --output-on-failure -j2 "$@"
}
if [ "$kind" = address ]; then
  # The GL driver is unloaded before the leak check runs, so what it keeps is
  # reported from an unknown module that no suppression can name: programs
  # that open a GL context run without the leak check, everything else with it.
  gl_labels='^(platform|scene|panels|e2e)$'
  run_ctest -LE "$gl_labels" "$@"
  ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" run_ctest -L "$gl_labels" "$@"
else
  run_ctest "$@"
fi
