#!/usr/bin/env bash
# Frames per second of the game on the title (all 50 figures walking) at the X
# server's size, with the frame limiter off (QUILLFROST_FRAME_RATE=0): the
# Linux build (build/quillfrost, its frames counted by the preloaded swap log)
# and the Windows build under Wine with its defaults (Direct3D command-stream
# thread on; frames counted by Wine's own fps trace), in turn, round after
# round, so that a shared machine's load falls on both alike. Given a commit,
# that commit's Windows build takes its turn as well, built from `git archive`
# in a temporary folder. Prints each build's median over the rounds and, for
# each Windows build, the median of its per-round share of the Linux rate.
# Usage, after bash scripts/windows.sh:
#   LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x720x24 -noreset" \
#     bash bench/windows_fps.sh [SECONDS [ROUNDS [COMMIT | OTHER.exe]]]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-12}
rounds=${2:-3}
commit=${3:-}
wine=${WINE:-/usr/lib/wine/wine64}
[[ -n ${DISPLAY:-} ]] || { echo "windows_fps: no DISPLAY; run it under xvfb-run"; exit 1; }
[[ -x $root/build-windows/quillfrost.exe ]] || { echo "windows_fps: no build-windows/quillfrost.exe; run bash scripts/windows.sh"; exit 1; }
# scripts/windows.sh builds only the media and the replay tool natively.
cmake --build "$root/build" -j2 --target quillfrost swap_log >/dev/null || { echo "windows_fps: the Linux build failed"; exit 1; }

WINEPREFIX=$(mktemp -d /tmp/quillfrost-wine.XXXXXX)
export WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=" QUILLFROST_FRAME_RATE=0
scratch=$(mktemp -d /tmp/quillfrost-fps.XXXXXX)
before_exe=
cleanup() {
  "${wine%/*}/wineserver" -k 2>/dev/null
  rm -rf "$WINEPREFIX" "$scratch"
  [[ -n $before_exe ]] && rm -f "$before_exe"
}
trap cleanup EXIT

# The older Windows build: its game only, beside this build's media.
if [[ -f $commit ]]; then
  before_exe=$root/build-windows/quillfrost-before.exe
  cp "$commit" "$before_exe"
elif [[ -n $commit ]]; then
  echo "building the Windows game at $commit"
  mkdir -p "$scratch/before/source"
  git -C "$root" archive "$commit" | tar -x -C "$scratch/before/source" || exit 1
  cmake -S "$scratch/before/source" -B "$scratch/before/build" -DCMAKE_TOOLCHAIN_FILE="$scratch/before/source/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build "$scratch/before/build" -j2 --target quillfrost >/dev/null || exit 1
  before_exe=$root/build-windows/quillfrost-before.exe
  cp "$scratch/before/build/quillfrost.exe" "$before_exe"
fi
WINEDEBUG=-all "$wine" cmd /c exit >/dev/null 2>&1

median() { sort -g | awk '{v[NR] = $1} END{if (NR == 0) print "none"; else printf "%.2f\n", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{if (a + 0 > 0 && b + 0 > 0) printf "%.2f\n", a / b; else print "none"}'; }

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

# The Linux build: swaps after the first five seconds (start-up and the first
# frames), over the span from the first to the last of them.
linux_fps() {
  local log=$scratch/swaps
  rm -f "$log"
  (cd "$root/build" && LD_PRELOAD="$root/build/tests/swap_log.so" QF_SWAP_LOG="$log" SDL_AUDIODRIVER=dummy \
    run_for $((seconds + 5)) ./quillfrost) >/dev/null 2>&1
  [[ -s $log ]] || { echo none; return; }
  awk 'NR == 1 {start = $1 + 5e9} $1 >= start {if (!n++) first = $1; last = $1}
       END{if (n > 1) printf "%.2f\n", (n - 1) / ((last - first) / 1e9); else print "none"}' "$log"
}

# A Windows build: the median of Wine's once-a-second figures after the first
# three. Only the fps channel is on, as every other one costs time when on.
windows_fps() {
  (cd "$root/build-windows" && WINEDEBUG=-all,+fps run_for $((seconds + 8)) "$wine" "./$1") 2>&1 >/dev/null |
    sed -n 's/.*wined3d_cs_exec_present.*@ approx \([0-9.]*\)fps.*/\1/p' | tail -n +4 | median
}

builds=(quillfrost.exe)
[[ -n $commit ]] && builds=(quillfrost-before.exe quillfrost.exe)
declare -A figures shares
for round in $(seq "$rounds"); do
  linux=$(linux_fps)
  figures[linux]+="$linux "
  line="round $round: Linux $linux"
  for exe in "${builds[@]}"; do
    win=$(windows_fps "$exe")
    figures[$exe]+="$win "
    shares[$exe]+="$(ratio "$win" "$linux") "
    line+=", ${exe%.exe} $win ($(ratio "$win" "$linux")x)"
  done
  echo "$line"
done
each() { tr ' ' '\n' | grep -v '^none$' | grep . | median; }
echo "Linux build:                  $(each <<<"${figures[linux]}") frames/s (median of $rounds rounds of $seconds s)"
for exe in "${builds[@]}"; do
  name="Windows build, Wine:"
  [[ $exe == quillfrost-before.exe ]] && name="Windows build at $commit:"
  printf '%-29s %s frames/s, %sx the Linux build (median of the rounds'"'"' shares)\n' "$name" \
    "$(each <<<"${figures[$exe]}")" "$(each <<<"${shares[$exe]}")"
done
