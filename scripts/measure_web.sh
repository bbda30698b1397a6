#!/usr/bin/env bash
# Prints the web build's figures in one run: the page's frame rate and the
# game's own milliseconds per frame in headless Chromium at 1280x720 (a mouse
# game, SECONDS long, default 20) and on the emulated phone (844x390 at pixel
# ratio 3, a touch game), then the same game code's CPU per frame on
# the recording device, native and as WebAssembly under Node (2,400 scripted
# frames; start-up is taken out by subtracting a one-frame run), and the size
# of build-web/ without its screenshots. Run scripts/test_web.sh first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
export NODE_PATH=/usr/share/nodejs
(cd "$root/tests/web" && [[ -d node_modules ]] || npm ci --no-audit --no-fund --loglevel=error)
node "$root/tests/web/browser_test.mjs" "$root/build-web" "$root/build-wasm/site-without-tiles" \
  "$root/build-web/screenshots" measure "$seconds"
node "$root/tests/web/browser_test.mjs" "$root/build-web" "$root/build-wasm/site-without-tiles" \
  "$root/build-web/screenshots" measure "$seconds" phone

script="$root/tests/support/long_game_six_games.txt"
cpu_seconds() {  # user + system CPU of one run, in seconds
  local dir=$1; shift
  (cd "$dir" && /usr/bin/time -f "%U %S" "$@" > /dev/null) 2>&1 | tail -1 | awk '{print $1 + $2}'
}
per_frame() {  # best of three, one-frame run subtracted, in ms per frame
  local dir=$1; shift
  local best=""
  for _ in 1 2 3; do
    local long short
    long=$(cpu_seconds "$dir" "$@" --script "$script" 2400)
    short=$(cpu_seconds "$dir" "$@" --script "$script" 1)
    best=$(awk -v b="$best" -v l="$long" -v s="$short" \
      'BEGIN { v = (l - s) * 1000 / 2399; if (b == "" || v < b) print v; else print b }')
  done
  echo "$best"
}
native=$(per_frame "$root/build" ./quillfrost-replay)
web=$(per_frame "$root/build-wasm" node quillfrost-replay.js)
awk -v n="$native" -v w="$web" 'BEGIN {
  printf "recording device, 2,400 scripted frames: native %.3f ms/frame, WebAssembly under Node %.3f ms/frame (%.2fx)\n", n, w, w / n }'
echo "build-web/ without screenshots: $(du -sb --exclude=screenshots "$root/build-web" | cut -f1) bytes"
