#!/usr/bin/env bash
# Sets up, cross-builds the Windows programs with MinGW-w64 and packs
# build-windows/quillfrost-windows-x64.zip: quillfrost.exe, quillfrost-replay.exe,
# media/ (the effect file and the bitmaps) and the three wave files, ready to
# unzip and run on Windows 10 or 11. The bitmaps and waves come from the
# generator built natively in build/ (the same bytes on every platform).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
bash "$root/scripts/setup.sh" packages.txt packages-windows.txt

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$jobs" --target quillfrost_media quillfrost-replay

out=$root/build-windows
cmake -S "$root" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j"$jobs"

# The media search finds media/ beside the program; the waves are opened from
# the working folder, which is the program's folder when started from Explorer.
rm -rf "$out/media" "$out/package"
mkdir -p "$out/media" "$out/package/quillfrost/media"
cp "$root"/build/media/*.bmp "$root"/assets/*.fx "$out/media/"
cp "$root"/build/*.wav "$out/"
cp -r "$out/media" "$out"/*.wav "$out/package/quillfrost/"
for exe in quillfrost quillfrost-replay; do
  x86_64-w64-mingw32-strip -o "$out/package/quillfrost/$exe.exe" "$out/$exe.exe"
done
rm -f "$out/quillfrost-windows-x64.zip"
(cd "$out/package" && cmake -E tar cf ../quillfrost-windows-x64.zip --format=zip quillfrost)
echo "windows: $out/quillfrost-windows-x64.zip ($(stat -c %s "$out/quillfrost-windows-x64.zip") bytes)"
