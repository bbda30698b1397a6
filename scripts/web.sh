#!/usr/bin/env bash
# Sets up and builds the web version into build-web/ (static files any web
# server can host) and serves it on http://127.0.0.1:8080/.
# --build-only stops after the build (the web tests use that); after it, the
# release command names its own folders and CMake options.
# Usage: web.sh [--build-only [CMAKE_DIR SITE_DIR [CMAKE_OPTION...]]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${2:-$root/build-wasm}
site=${3:-$root/build-web}
options=("${@:4}")
bash "$root/scripts/setup.sh" packages.txt packages-web.txt
# Debian's Emscripten loads Debian's own node modules (acorn).
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S "$root" -B "$tree" -DCMAKE_BUILD_TYPE=Release -DQF_WEB_SITE_DIR="$site" "${options[@]}" >/dev/null
nice -n 5 cmake --build "$tree" -j"$(nproc)" --target quillfrost
[[ "${1:-}" == "--build-only" ]] && exit 0
echo "Quillfrost in a browser: http://127.0.0.1:8080/  (Ctrl+C stops the server)"
exec python3 -m http.server 8080 --bind 127.0.0.1 --directory "$site"
