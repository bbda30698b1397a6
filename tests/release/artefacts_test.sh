#!/usr/bin/env bash
# Checks the artefacts of one release folder (scripts/release.sh writes it):
# their names and checksums; the Debian package (lintian reports no error or
# warning; name, version, files, owners, modes and Depends; unpacked, its
# desktop entry and AppStream data validate and its game starts and ends on
# Escape with status 0); the Windows zip (the two programs, the media, the
# waves and LICENSE.txt, each program's version resource); the web zip (the
# page, module, package and LICENSE.txt, served by a plain web server, runs
# the game in headless Chromium).
# Usage: artefacts_test.sh DIST_DIR VERSION SCREENSHOT_DIR
# Run it under an X server with -noreset (scripts/test_release.sh starts one).
set -uo pipefail
test_name=release
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../support/script_checks.sh"
dist=$(cd "$1" && pwd)
version=$2
shots=$3
need_tools lintian dpkg-deb unzip x86_64-w64-mingw32-windres python3 node convert

arch=$(dpkg --print-architecture)
deb=quillfrost_${version}_$arch.deb
windows=quillfrost-$version-windows-x64.zip
web=quillfrost-$version-web.zip
server_pid=
scratch_folder release server_pid
mkdir -p "$shots"
rm -f "$shots"/*.png

# ---- the folder -----------------------------------------------------------
expected=$(printf '%s\n' SHA256SUMS "$deb" "$windows" "$web" | LC_ALL=C sort)
actual=$(cd "$dist" && ls -A | LC_ALL=C sort)
[[ $actual == "$expected" ]] && pass "dist holds $(tr '\n' ' ' <<<"$expected")" ||
  fail "dist holds $(tr '\n' ' ' <<<"$actual"), not $(tr '\n' ' ' <<<"$expected")"
sums=$(cd "$dist" && sha256sum --strict -c SHA256SUMS 2>&1)
(($(grep -c ': OK$' <<<"$sums") == 3)) && pass "SHA256SUMS: the three artefacts' sums" || fail "SHA256SUMS: $sums"

# ---- the Debian package ---------------------------------------------------
report=$(lintian -I -E --pedantic "$dist/$deb" 2>&1)
echo "lintian -I -E --pedantic $deb:"
sed 's/^/    /' <<<"${report:-(nothing)}"
serious=$(grep -E '^[EW]: ' <<<"$report")
[[ -z $serious ]] && pass "lintian: no error and no warning" || fail "lintian: $(grep -c . <<<"$serious") errors or warnings"
bash "$here/../packaging/deb_test.sh" --deb "$dist/$deb" "$version" || fail "deb_test"
mkdir "$work/deb"
dpkg-deb -x "$dist/$deb" "$work/deb"
# The install test removes the waves from the tree it plays, so it gets a copy.
cp -a "$work/deb" "$work/deb-played"
bash "$here/../packaging/install_test.sh" --tree "$work/deb-played/usr" || fail "install_test on the unpacked package"

# ---- the Windows zip ------------------------------------------------------
# The files the game reads lie in the zip's one folder as they lie in the
# package's lib/quillfrost/, beside the two programs and the licence.
from_package=$(grep '^lib/quillfrost/' "$here/../packaging/installed_files.txt" | sed 's|^lib/quillfrost/||' |
  grep -vx quillfrost)
expected=$(printf '%s\n' $from_package LICENSE.txt quillfrost.exe quillfrost-replay.exe | sed 's|^|quillfrost/|' |
  LC_ALL=C sort)
actual=$(unzip -Z1 "$dist/$windows" | grep -v '/$' | LC_ALL=C sort)
[[ $actual == "$expected" ]] && pass "$windows: $(wc -l <<<"$actual") files: the programs, media, waves, LICENSE.txt" ||
  fail "$windows files differ: $(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
unzip -q "$dist/$windows" -d "$work/windows"
game_files=$work/windows/quillfrost
cmp -s "$game_files/LICENSE.txt" "$here/../../LICENSE" && pass "$windows: LICENSE.txt is the licence" ||
  fail "$windows: LICENSE.txt differs from LICENSE"
differing=
for file in $from_package; do
  cmp -s "$game_files/$file" "$work/deb/usr/lib/quillfrost/$file" || differing+=" $file"
done
[[ -z $differing ]] && pass "$windows: the media and waves are the package's, byte for byte" ||
  fail "$windows: differ from the package's:$differing"
# windres reads a program's resources back as a resource script.
IFS=. read -r major minor patch <<<"$version"
for program in quillfrost quillfrost-replay; do
  script=$(x86_64-w64-mingw32-windres -i "$game_files/$program.exe" -O rc 2>&1)
  missing=
  for line in "FILEVERSION $major,$minor,$patch,0" "PRODUCTVERSION $major,$minor,$patch,0" \
    "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
    'VALUE "ProductName", "Quillfrost"' 'VALUE "FileDescription", "Quillfrost' \
    "VALUE \"OriginalFilename\", \"$program.exe\""; do
    tr -d ' ' <<<"$script" | grep -qF "$(tr -d ' ' <<<"$line")" || missing+=" [$line]"
  done
  [[ -z $missing ]] && pass "$program.exe: version resource $version, product Quillfrost" ||
    fail "$program.exe: version resource lacks$missing: $(head -c 600 <<<"$script")"
done

# ---- the web zip ----------------------------------------------------------
listing=$(unzip -Z1 "$dist/$web")
missing=
for file in index.html quillfrost.js quillfrost.wasm quillfrost.data quillfrost-data.js LICENSE.txt; do
  grep -qx "quillfrost/$file" <<<"$listing" || missing+=" $file"
done
outside=$(grep -v '^quillfrost/' <<<"$listing")
[[ -z $missing && -z $outside ]] && pass "$web: the page, module, package and LICENSE.txt in quillfrost/" ||
  fail "$web: lacks$missing; outside quillfrost/: $outside"
unzip -q "$dist/$web" -d "$work/web"
# Python's plain static server, on a free port, serves the unzipped folder as
# a web host would: the page lives under /quillfrost/, not at the root.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/web" >"$work/server.log" 2>&1 &
server_pid=$!
served() { python3 -c "import urllib.request as u; u.urlopen('http://127.0.0.1:$port/quillfrost/index.html')" 2>/dev/null; }
if ! wait_for 10 served; then
  fail "$web: the web server did not answer: $(head -c 300 "$work/server.log")"
elif outcome=$(node "$here/served_page.mjs" "http://127.0.0.1:$port/quillfrost/" "$shots" 2>&1); then
  # The title's white letters (the browser tests count the same square).
  lit=0
  for shot in "$shots"/title-*.png; do
    n=$(convert "$shot" -crop 960x140+100+100 +repage -fx 'r > 0.92 && g > 0.92 && b > 0.92' -format '%[fx:round(mean*w*h)]' info:)
    ((n > lit)) && lit=$n
  done
  ((lit > 5000)) && pass "$web served: the game runs in Chromium and shows its title ($outcome; $lit bright title pixels)" ||
    fail "$web served: no title on the screenshots in $shots ($outcome; $lit bright title pixels)"
else
  fail "$web served: $outcome"
fi

echo "release artefacts: $failures failure(s)"
((failures == 0))
