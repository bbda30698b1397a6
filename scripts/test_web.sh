#!/usr/bin/env bash
# Builds the web version and tests it: the page in headless Chromium (WebGL 2
# through SwiftShader) driven over the DevTools protocol, and the replay tool
# built for Node against the native one, byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$SECONDS
bash "$root/scripts/web.sh" --build-only
export NODE_PATH=/usr/share/nodejs
nice -n 5 cmake --build "$root/build-wasm" -j"$(nproc)" --target quillfrost-replay quillfrost_site_without_tiles \
  web_platform_test
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 5 cmake --build "$root/build" -j"$(nproc)" --target quillfrost-replay

failed=0
echo "== the back end's own checks under Node"
(cd "$root/build-wasm" && node web_platform_test.js) || failed=1

echo "== replay: native against WebAssembly under Node"
compare() {
  local name=$1; shift
  (cd "$root/build" && ./quillfrost-replay "$@") > "$root/build-wasm/replay-native-$name.txt"
  (cd "$root/build-wasm" && node quillfrost-replay.js "$@") > "$root/build-wasm/replay-web-$name.txt"
  if cmp -s "$root/build-wasm/replay-native-$name.txt" "$root/build-wasm/replay-web-$name.txt"; then
    echo "ok   $name: $(wc -l < "$root/build-wasm/replay-web-$name.txt") lines byte-identical"
  else
    echo "FAIL $name: $(python3 "$root/tests/support/replay_difference.py" "$root/build-wasm/replay-native-$name.txt" \
      "$root/build-wasm/replay-web-$name.txt" native WebAssembly) (the first differences below)"
    diff "$root/build-wasm/replay-native-$name.txt" "$root/build-wasm/replay-web-$name.txt" | head -8
    failed=1
  fi
}
compare six-games --script "$root/tests/support/long_game_six_games.txt" --hash --shots --every 50 2400
compare caught --script "$root/tests/support/long_game_caught.txt" --hash --shots --every 20 3000
compare title --hash --every 100 600

echo "== the page in headless Chromium"
# Debian's nodejs comes without npm; NodeSource's has it and conflicts with Debian's npm.
command -v npm >/dev/null || bash "$root/scripts/setup.sh" packages-npm.txt
(cd "$root/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
node "$root/tests/web/browser_test.mjs" "$root/build-web" "$root/build-wasm/site-without-tiles" \
  "$root/build-web/screenshots" || failed=1
echo "== the page's pace in headless Chromium, its frame-rate limit off"
node "$root/tests/web/pace_test.mjs" "$root/build-web" || failed=1
echo "web tests took $((SECONDS - start)) s"
exit $failed
