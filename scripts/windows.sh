#!/usr/bin/env bash
# Sets up, cross-builds the Windows programs with MinGW-w64 and packs
# build-windows/quillfrost-windows-x64.zip: quillfrost.exe, quillfrost-replay.exe,
# media/ (the effect file and the bitmaps), the three wave files and
# LICENSE.txt, ready to unzip and run on Windows 10 or 11. The bitmaps and
# waves come from the generator built natively in build/ (the same bytes on
# every platform).
# Usage: windows.sh [LINUX_BUILD_DIR WINDOWS_BUILD_DIR [CMAKE_OPTION...]]
# (the release command builds elsewhere, with options of its own).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
lin=${1:-$root/build}
out=${2:-$root/build-windows}
options=("${@:3}")
bash "$root/scripts/setup.sh" packages.txt packages-windows.txt

cmake -S "$root" -B "$lin" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build "$lin" -j"$jobs" --target quillfrost_media quillfrost-replay

cmake -S "$root" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "${options[@]}" >/dev/null
cmake --build "$out" -j"$jobs"

# The media search finds media/ beside the program; the waves are opened from
# the working folder, which is the program's folder when started from Explorer.
rm -rf "$out/media" "$out/package"
mkdir -p "$out/media" "$out/package/quillfrost/media"
cp "$lin"/media/*.bmp "$root"/assets/*.fx "$out/media/"
cp "$lin"/*.wav "$out/"
cp -r "$out/media" "$out"/*.wav "$out/package/quillfrost/"
cp "$root/LICENSE" "$out/package/quillfrost/LICENSE.txt"
for exe in quillfrost quillfrost-replay; do
  x86_64-w64-mingw32-strip -o "$out/package/quillfrost/$exe.exe" "$out/$exe.exe"
done
rm -f "$out/quillfrost-windows-x64.zip"
python3 "$root/scripts/reproducible_zip.py" "$out/quillfrost-windows-x64.zip" "$out/package" quillfrost
echo "windows: $out/quillfrost-windows-x64.zip ($(stat -c %s "$out/quillfrost-windows-x64.zip") bytes)"
