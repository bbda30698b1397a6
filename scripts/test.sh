#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, then the address and
# undefined-behaviour sanitizer build, then the fuzz targets for a bounded time,
# the web build, the Windows build and the release (built twice and compared).
# GL tests run under Xvfb with Mesa's llvmpipe, started here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
bash "$root/scripts/setup.sh"

export LIBGL_ALWAYS_SOFTWARE=1
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Without -noreset Xvfb resets whenever its last client leaves and drops the
# connection of a test process that starts meanwhile.
xvfb=(xvfb-run -a -s "-screen 0 1280x720x24 -noreset")

build_and_test() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && "${xvfb[@]}" ctest --output-on-failure -j1)
}

echo "== normal build"
build_and_test "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== sanitizer build (address, undefined)"
build_and_test "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQF_SANITIZE=ON

echo "== fuzzing"
bash "$root/fuzz/run.sh" "$root/build-fuzz"

bash "$root/scripts/test_web.sh"
bash "$root/scripts/test_windows.sh"
bash "$root/scripts/test_release.sh"
