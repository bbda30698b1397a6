#!/usr/bin/env bash
# What Wine's Direct3D 9 itself costs on this machine, apart from the game:
# the same frame (clear, N screen-covering quads, present) from a minimal
# Direct3D 9 program under Wine with its defaults and from a minimal OpenGL
# program, in turn, round after round. With and without the game's 16-bit
# depth buffer. Prints each side's median frames per second, the share, and
# the milliseconds a frame and a quad cost on each side, which bound the
# share any Direct3D 9 program can reach here (bench/windows_fps.sh gives
# the game's).
# Usage: LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x720x24 -noreset" \
#          bash bench/wine_ceiling.sh [SECONDS [ROUNDS]]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-6}
rounds=${2:-3}
wine=${WINE:-/usr/lib/wine/wine64}
[[ -n ${DISPLAY:-} ]] || { echo "wine_ceiling: no DISPLAY; run it under xvfb-run"; exit 1; }
out=$(mktemp -d /tmp/quillfrost-ceiling.XXXXXX)
WINEPREFIX=$out/prefix
export WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=" WINEDEBUG=-all
trap '"${wine%/*}/wineserver" -k 2>/dev/null; rm -rf "$out"' EXIT
x86_64-w64-mingw32-g++ -std=c++20 -O2 -Wall -Wextra -static -o "$out/d3d9_quads.exe" "$root/bench/wine_ceiling/d3d9_quads.cpp" -ld3d9 ||
  { echo "wine_ceiling: the Direct3D program did not build"; exit 1; }
# shellcheck disable=SC2046
g++ -std=c++20 -O2 -Wall -Wextra -o "$out/gl_quads" "$root/bench/wine_ceiling/gl_quads.cpp" $(pkg-config --cflags --libs sdl2) -lGL ||
  { echo "wine_ceiling: the OpenGL program did not build"; exit 1; }
"$wine" wineboot -i >/dev/null 2>&1

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
cases=("0 16" "4 16" "20 16" "0 0" "20 0")
for _ in $(seq "$rounds"); do
  for c in "${cases[@]}"; do
    read -r quads depth <<< "$c"; set -- "$quads" "$depth"
    w=$(cd "$out" && "$wine" ./d3d9_quads.exe "$1" "$seconds" "$2" 2>/dev/null | tr -d '\r')
    l=$("$out/gl_quads" "$1" "$seconds" "$2")
    echo "$1 $2 ${w:-0} ${l:-0}" >> "$out/samples"
  done
done
printf "%-7s %-6s %12s %12s %7s\n" quads depth "Wine fps" "OpenGL fps" share
for c in "${cases[@]}"; do
  read -r quads depth <<< "$c"; set -- "$quads" "$depth"
  w=$(awk -v q="$1" -v d="$2" '$1 == q && $2 == d { print $3 }' "$out/samples" | median)
  l=$(awk -v q="$1" -v d="$2" '$1 == q && $2 == d { print $4 }' "$out/samples" | median)
  printf "%-7s %-6s %12.1f %12.1f %7.2f\n" "$1" "$2" "$w" "$l" "$(awk -v w="$w" -v l="$l" 'BEGIN { print (l > 0 ? w / l : 0) }')"
  echo "$1 $2 $w $l" >> "$out/medians"
done
# A frame's fixed cost is the empty frame's time; a quad's is the slope to 20.
awk '{ t[$1 " " $2 "w"] = 1000 / $3; t[$1 " " $2 "l"] = 1000 / $4 } END {
  printf "16-bit depth: a frame without quads %.2f ms under Wine, %.2f ms in OpenGL; a quad %.2f and %.2f ms\n",
    t["0 16w"], t["0 16l"], (t["20 16w"] - t["0 16w"]) / 20, (t["20 16l"] - t["0 16l"]) / 20 }' "$out/medians"
