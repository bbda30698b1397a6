#!/usr/bin/env bash
# Prints the web build's figures in one run: the page's frame rate and the
# game's own milliseconds per frame in headless Chromium at 1280x720 (a mouse
# game, SECONDS long, default 20) and on the emulated phone (844x390 at pixel
# ratio 3, a touch game), then the same game code's CPU per frame on the
# recording device, native and as WebAssembly under Node (how, below), and
# the size of build-web/ without its screenshots. Run scripts/test_web.sh
# first. --replay-only prints the recording device's figures alone.
# Usage: measure_web.sh [SECONDS | --replay-only]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
export NODE_PATH=/usr/share/nodejs
if [[ $seconds != --replay-only ]]; then
  (cd "$root/tests/web" && [[ -d node_modules ]] || npm ci --no-audit --no-fund --loglevel=error)
  node "$root/tests/web/browser_test.mjs" "$root/build-web" "$root/build-wasm/site-without-tiles" \
    "$root/build-web/screenshots" measure "$seconds"
  node "$root/tests/web/browser_test.mjs" "$root/build-web" "$root/build-wasm/site-without-tiles" \
    "$root/build-web/screenshots" measure "$seconds" phone
fi

script="$root/tests/support/long_game_six_games.txt"
rounds=7
cpu_seconds() {  # user + system CPU of one run, every thread, in seconds
  local dir=$1; shift
  (cd "$dir" && /usr/bin/time -f "%U %S" "$@" > /dev/null) 2>&1 | tail -1 | awk '{print $1 + $2}'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Each round runs 1, 2,400 and 4,800 frames natively, then the same as
# WebAssembly. Two figures, each (and its ratio) the median over the rounds:
#  - the script's 2,400 frames less a one-frame run. This takes out start-up
#    but not the engine's one-off costs that only the longer run has: V8
#    compiles the hot functions again with its optimising tier on background
#    threads (counted: the CPU is every thread's) and runs them in its
#    baseline tier until then. In practice this is small: the two figures
#    agree within the shared machine's noise.
#  - frames 2,401 to 4,800, 4,800 less 2,400: both runs carry the same
#    one-off costs, so the difference is those frames' own work. After the
#    script's last event (frame 2,250) the game runs on without input, at
#    about the same native cost per frame.
samples=$(mktemp)
trap 'rm -f "$samples"' EXIT
for _ in $(seq $rounds); do
  row=()
  for build in native web; do
    if [[ $build == native ]]; then dir=$root/build; run=(./quillfrost-replay); else dir=$root/build-wasm; run=(node quillfrost-replay.js); fi
    for frames in 1 2400 4800; do row+=("$(cpu_seconds "$dir" "${run[@]}" --script "$script" $frames)"); done
  done
  # native 2,400-frame and steady figures, then WebAssembly's, then the two ratios
  awk -v a="${row[0]}" -v b="${row[1]}" -v c="${row[2]}" -v d="${row[3]}" -v e="${row[4]}" -v f="${row[5]}" 'BEGIN {
    n = (b - a) * 1000 / 2399; m = (c - b) * 1000 / 2400; w = (e - d) * 1000 / 2399; x = (f - e) * 1000 / 2400
    printf "%.6f %.6f %.6f %.6f %.6f %.6f\n", n, m, w, x, w / n, x / m }' >> "$samples"
done
median_of() { awk -v c="$1" '{ print $c }' "$samples" | median; }
printf "recording device, CPU per frame, medians of %d rounds, native and WebAssembly under Node in turn:\n" $rounds
printf "  the script's 2,400 frames less a one-frame run: native %.3f ms, WebAssembly %.3f ms (%.2fx)\n" \
  "$(median_of 1)" "$(median_of 3)" "$(median_of 5)"
printf "  frames 2,401-4,800 (4,800 less 2,400), the steady state: native %.3f ms, WebAssembly %.3f ms (%.2fx)\n" \
  "$(median_of 2)" "$(median_of 4)" "$(median_of 6)"
[[ $seconds == --replay-only ]] ||
  echo "build-web/ without screenshots: $(du -sb --exclude=screenshots "$root/build-web" | cut -f1) bytes"
