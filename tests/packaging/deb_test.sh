#!/usr/bin/env bash
# Checks the Debian package with dpkg-deb: its name and version, its file
# list (the installation under /usr), every entry's owner and mode, and
# runtime dependencies that name SDL2 and GL and no development package.
# Given a build folder, it first makes the package there with cpack, into a
# temporary folder; given --deb, it checks a package already made.
# Usage: deb_test.sh BUILD_DIR VERSION | deb_test.sh --deb FILE VERSION
set -uo pipefail
test_name=deb_test
source "$(dirname "$0")/../support/script_checks.sh"
here=$(cd "$(dirname "$0")" && pwd)
(($# == 3)) && [[ $1 == --deb ]] || (($# == 2)) || { echo "usage: deb_test.sh BUILD_DIR VERSION | --deb FILE VERSION"; exit 2; }
expected_version=${*: -1}

need_tools cpack dpkg-deb dpkg-shlibdeps

work=$(mktemp -d /tmp/quillfrost-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT

if [[ $1 == --deb ]]; then
  deb=$2
elif ! (cd "$1" && cpack -G DEB -B "$work") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
else
  debs=("$work"/*.deb)
  ((${#debs[@]} == 1)) || { echo "FAIL: cpack made ${#debs[@]} packages: ${debs[*]}"; exit 1; }
  deb=${debs[0]}
fi

field() { dpkg-deb -f "$deb" "$1"; }
arch=$(dpkg --print-architecture)
version=$(field Version)
[[ $(field Package) == quillfrost && $(field Architecture) == "$arch" && $version == "$expected_version" ]] &&
  [[ $(basename "$deb") == "quillfrost_${version}_$arch.deb" ]] && pass "$(basename "$deb"), $(stat -c %s "$deb") bytes" ||
  fail "package $(basename "$deb"): Package $(field Package), Version $version (not $expected_version), Architecture $(field Architecture)"
[[ $(field Section) == games ]] && pass "Section games" || fail "Section $(field Section), not games"

# Paths of files and links, without the leading "./" and the folders.
listing=$(dpkg-deb -c "$deb")
actual=$(awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' <<<"$listing" | LC_ALL=C sort)
expected=$(grep -v '^#' "$here/installed_files.txt" | sed 's|^bin/|games/|; s|^|usr/|' | LC_ALL=C sort)
[[ $actual == "$expected" ]] && pass "file list" ||
  fail "file list differs from installed_files.txt under usr/: $(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
# Every entry root's; folders and the two programs 0755, every other file 0644.
programs='^\./usr/(games/quillfrost|lib/quillfrost/quillfrost)$'
odd=$(awk -v programs="$programs" '{
    mode = $1 == "drwxr-xr-x" || ($1 == "-rwxr-xr-x" && $6 ~ programs) || ($1 == "-rw-r--r--" && $6 !~ programs)
    if ($2 != "root/root" || !mode) print $1, $2, $6 }' <<<"$listing")
[[ -z $odd ]] && pass "owners and modes: root, 0755 for folders and the two programs, 0644 for the rest" ||
  fail "owners or modes: $(tr '\n' ' ' <<<"$odd")"

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
