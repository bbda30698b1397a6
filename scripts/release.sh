#!/usr/bin/env bash
# Sets up, builds the release from clean build folders and writes dist/:
#   quillfrost_VERSION_amd64.deb        the Debian package
#   quillfrost-VERSION-windows-x64.zip  the Windows programs, media and waves
#   quillfrost-VERSION-web.zip          the static site (page, module, package)
#   SHA256SUMS
# VERSION is the CMake project's. The bytes depend on the commit alone, not on
# the folder, the time, the user or the umask: SOURCE_DATE_EPOCH is the
# commit's time, the checkout's and build folders' paths are mapped out of the
# binaries, and the archives hold sorted entries with fixed times, owners and
# modes.
# Usage: release.sh [OUT_DIR]  (default dist/; the build folders go in
# build-release/ beside it)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/dist}
start=$SECONDS
bash "$root/scripts/setup.sh" packages.txt packages-web.txt packages-windows.txt packages-release.txt

SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
# cpack gives the package's folders and its ar members the modes the umask
# lets through.
umask 022
[[ -z $(git -C "$root" status --porcelain --untracked-files=no) ]] ||
  echo "release: warning: the checkout has uncommitted changes, so the artefacts are not the commit's"

builds=$root/build-release
rm -rf "$builds" "$out"
mkdir -p "$builds" "$out"
options=(-DQF_REPRODUCIBLE=ON)

echo "== Linux: the game and its Debian package"
linux=$builds/linux
# Installing (and so packing) needs only what the package holds, not the tests.
cmake -S "$root" -B "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  "${options[@]}" >/dev/null
cmake --build "$linux" -j"$(nproc)" --target quillfrost
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$linux/CMakeCache.txt")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "release: no project version in $linux/CMakeCache.txt"; exit 1; }
(cd "$linux" && cpack -G DEB -B "$builds/deb") >"$builds/cpack.log" ||
  { cat "$builds/cpack.log"; exit 1; }
arch=$(dpkg --print-architecture)
mv "$builds/deb/quillfrost_${version}_$arch.deb" "$out/"

echo "== Windows: cross-built with MinGW-w64"
bash "$root/scripts/windows.sh" "$linux" "$builds/windows" "${options[@]}"
mv "$builds/windows/quillfrost-windows-x64.zip" "$out/quillfrost-$version-windows-x64.zip"

echo "== Web: Emscripten"
# The site's folder is the zip's one top folder.
bash "$root/scripts/web.sh" --build-only "$builds/wasm" "$builds/web/quillfrost" "${options[@]}"
python3 "$root/scripts/reproducible_zip.py" "$out/quillfrost-$version-web.zip" "$builds/web" quillfrost

(cd "$out" && sha256sum -- *.deb *.zip >SHA256SUMS)
echo "== release $version in $out ($((SECONDS - start)) s)"
(cd "$out" && stat -c '%8s  %n' -- *)
