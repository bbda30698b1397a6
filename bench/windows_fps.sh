#!/usr/bin/env bash
# Frames per second of the game on the title (all 50 figures walking) at the X
# server's size: the Linux build, counted by Mesa's HUD, and the Windows build
# under Wine, counted by Wine's own fps trace, once with Wine's Direct3D
# command-stream thread (its default) and once without. Prints the median of
# the per-second figures after the first few.
# Usage, after bash scripts/windows.sh:
#   LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x720x24 -noreset" bash bench/windows_fps.sh [SECONDS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
wine=${WINE:-/usr/lib/wine/wine64}
WINEPREFIX=$(mktemp -d /tmp/quillfrost-wine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv="
scratch=$(mktemp -d /tmp/quillfrost-fps.XXXXXX)
trap '"${wine%/*}/wineserver" -k 2>/dev/null; rm -rf "$WINEPREFIX" "$scratch"' EXIT
"$wine" cmd /c exit >/dev/null 2>&1

median() { sort -g | awk '{v[NR] = $1} END{if (NR == 0) print "none"; else printf "%.1f (%d samples)\n", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), NR}'; }

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
echo "Linux build:               $(tail -n +6 "$scratch/fps" | median) frames/s"

wine_fps() {
  (cd "$root/build-windows" && WINEDEBUG=fps run_for $((seconds + 15)) "$wine" ./quillfrost.exe) 2>&1 >/dev/null |
    sed -n 's/.*wined3d_cs_exec_present.*@ approx \([0-9.]*\)fps.*/\1/p' | tail -n +4 | median
}
echo "Windows build, Wine, CSMT: $(wine_fps) frames/s"
"$wine" reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d 0 /f >/dev/null 2>&1
echo "Windows build, Wine, no CSMT: $(wine_fps) frames/s"
