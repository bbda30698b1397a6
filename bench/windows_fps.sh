#!/usr/bin/env bash
# Frames per second of the game on the title (all 50 figures walking) at the X
# server's size, with the frame limiter off (QUILLFROST_FRAME_RATE=0): the
# Linux build, counted by Mesa's HUD, and the Windows build under Wine with
# its defaults (Direct3D command-stream thread on), counted by Wine's own fps
# trace; given a commit, that commit's Windows build as well, built from
# `git archive` in a temporary folder, so that before and after are measured
# in one run. Prints the median of the per-second figures after the first few,
# and each Windows build's share of the Linux build's rate.
# Usage, after bash scripts/windows.sh:
#   LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x720x24 -noreset" bash bench/windows_fps.sh [SECONDS [COMMIT]]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
commit=${2:-}
wine=${WINE:-/usr/lib/wine/wine64}
WINEPREFIX=$(mktemp -d /tmp/quillfrost-wine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=" QUILLFROST_FRAME_RATE=0
scratch=$(mktemp -d /tmp/quillfrost-fps.XXXXXX)
trap '"${wine%/*}/wineserver" -k 2>/dev/null; rm -rf "$WINEPREFIX" "$scratch"' EXIT

# The older Windows build: its game only, beside this build's media.
if [[ -n $commit ]]; then
  echo "building the Windows game at $commit"
  mkdir -p "$scratch/before/source"
  git -C "$root" archive "$commit" | tar -x -C "$scratch/before/source" || exit 1
  cmake -S "$scratch/before/source" -B "$scratch/before/build" -DCMAKE_TOOLCHAIN_FILE="$scratch/before/source/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build "$scratch/before/build" -j2 --target quillfrost >/dev/null || exit 1
  cp "$scratch/before/build/quillfrost.exe" "$root/build-windows/quillfrost-before.exe"
  trap '"${wine%/*}/wineserver" -k 2>/dev/null; rm -rf "$WINEPREFIX" "$scratch" "$root/build-windows/quillfrost-before.exe"' EXIT
fi
"$wine" cmd /c exit >/dev/null 2>&1

median() { sort -g | awk '{v[NR] = $1} END{if (NR == 0) print "none"; else printf "%.1f (%d samples)\n", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), NR}'; }
share() { awk -v a="${1%% *}" -v b="${2%% *}" 'BEGIN{if (a + 0 > 0 && b + 0 > 0) printf "%.2fx the Linux build", a / b; else print "no ratio"}'; }

# Runs a command for the seconds given, then Escape. A Wine window that is
# not the foreground one gets no keys, so the game is ended after ten
# seconds if the Escape did not reach it.
run_for() {
  local secs=$1; shift
  "$@" &
  local pid=$!
  sleep "$secs"
  xdotool key Escape
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid"
}

# Skips the first five seconds: start-up and the first frames.
(cd "$root/build" && GALLIUM_HUD=fps GALLIUM_HUD_PERIOD=1 GALLIUM_HUD_DUMP_DIR="$scratch" \
  run_for $((seconds + 5)) ./quillfrost) >/dev/null 2>&1
linux=$(tail -n +6 "$scratch/fps" | median)
echo "Linux build:                         $linux frames/s"

wine_fps() {
  (cd "$root/build-windows" && WINEDEBUG=fps run_for $((seconds + 15)) "$wine" "./$1") 2>&1 >/dev/null |
    sed -n 's/.*wined3d_cs_exec_present.*@ approx \([0-9.]*\)fps.*/\1/p' | tail -n +4 | median
}
if [[ -n $commit ]]; then
  before=$(wine_fps quillfrost-before.exe)
  echo "Windows build at $commit, Wine: $before frames/s, $(share "$before" "$linux")"
fi
after=$(wine_fps quillfrost.exe)
echo "Windows build, Wine:                 $after frames/s, $(share "$after" "$linux")"
