#!/usr/bin/env bash
# Builds the Debian package with cpack into a temporary folder and checks it
# with dpkg-deb: its name, its file list (the installation under /usr), its
# executables, and runtime dependencies that name SDL2 and GL and no
# development package.
# Usage: deb_test.sh BUILD_DIR
set -uo pipefail
test_name=deb_test
source "$(dirname "$0")/../support/script_checks.sh"
build=$1
here=$(cd "$(dirname "$0")" && pwd)

need_tools cpack dpkg-deb dpkg-shlibdeps

work=$(mktemp -d /tmp/quillfrost-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT

if ! (cd "$build" && cpack -G DEB -B "$work") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
debs=("$work"/*.deb)
((${#debs[@]} == 1)) || { echo "FAIL: cpack made ${#debs[@]} packages: ${debs[*]}"; exit 1; }
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
arch=$(dpkg --print-architecture)
version=$(field Version)
[[ $(field Package) == quillfrost && $(field Architecture) == "$arch" && $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] &&
  [[ $(basename "$deb") == "quillfrost_${version}_$arch.deb" ]] && pass "$(basename "$deb"), $(stat -c %s "$deb") bytes" ||
  fail "package $(basename "$deb"): Package $(field Package), Version $version, Architecture $(field Architecture)"

# Paths of files and links, without the leading "./" and the folders.
listing=$(dpkg-deb -c "$deb")
actual=$(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' <<<"$listing" | LC_ALL=C sort)
expected=$(grep -v '^#' "$here/installed_files.txt" | sed 's|^|usr/|' | LC_ALL=C sort)
[[ $actual == "$expected" ]] && pass "file list" ||
  fail "file list differs from installed_files.txt under usr/: $(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
for program in usr/bin/quillfrost usr/lib/quillfrost/quillfrost; do
  grep -q "^-rwxr-xr-x root/root .* \./$program\$" <<<"$listing" && pass "$program is an executable owned by root" ||
    fail "$program: $(grep " \./$program\$" <<<"$listing")"
done

# The dependencies as package names, one a line, alternatives included.
depends=$(field Depends)
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{ print $1 }')
for needed in libsdl2-2.0-0 libgl1 libc6; do
  grep -qx "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done
build_only=$(grep -E -e '-dev$' -e '^(cmake|gcc|g\+\+|clang|pkg-config|build-essential|libgtest|googletest)' <<<"$names")
[[ -z $build_only ]] && pass "Depends: $depends" || fail "Depends names build packages ($build_only): $depends"

echo "deb_test: $failures failure(s)"
((failures == 0))
