#!/usr/bin/env bash
# Sets up, builds and starts the game from the build folder, where the
# generated media and wave files lie.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target quillfrost
cd "$root/build"
exec ./quillfrost
