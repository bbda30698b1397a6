#!/usr/bin/env bash
# Tests the release command: two releases of the checkout's commit, built one
# after the other from two clones in different folders (the second under
# another umask, time zone and locale), must be the same bytes; then the first
# one's artefacts are checked (tests/release/artefacts_test.sh) under an X
# server of its own with Mesa's llvmpipe.
# Usage: test_release.sh [--once]  (--once: one build, no comparison)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$SECONDS
echo "== release: built from clean clones, compared and checked"
bash "$root/scripts/setup.sh" packages.txt packages-web.txt packages-windows.txt packages-release.txt

work=$root/build-release-test
rm -rf "$work"
mkdir -p "$work"
commit=$(git -C "$root" rev-parse HEAD)
[[ -z $(git -C "$root" status --porcelain --untracked-files=no) ]] ||
  echo "test_release: the checkout has uncommitted changes; the release is built from commit $commit without them"

# Clones the commit into FOLDER and builds its release there; prints the time.
build_release() {
  local folder=$1; shift
  git clone -q "$root" "$folder"
  git -C "$folder" checkout -q --detach "$commit"
  local began=$SECONDS
  if ! (cd "$folder" && "$@" bash scripts/release.sh) >"$folder.log" 2>&1; then
    tail -n 30 "$folder.log"
    echo "FAIL: the release command in $folder"
    exit 1
  fi
  echo "release built in $folder: $((SECONDS - began)) s from a fresh clone"
}

first=$work/first/quillfrost
build_release "$first" env
if [[ ${1:-} != --once ]]; then
  second=$work/second/somewhere/else/qf
  build_release "$second" env TZ=Pacific/Auckland LC_ALL=C sh -c 'umask 0002 && exec "$@"' umask
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$first/build-release/linux/CMakeCache.txt")

failed=0
# Names the first file inside two differing artefacts that differs.
first_difference() {
  local a=$1 b=$2 name=$3 into=$work/compare/$3
  mkdir -p "$into/a" "$into/b"
  if [[ $name == *.deb ]]; then
    dpkg-deb -R "$a" "$into/a" && dpkg-deb -R "$b" "$into/b"
  else
    unzip -q "$a" -d "$into/a" && unzip -q "$b" -d "$into/b"
  fi
  local file
  file=$(diff -rq "$into/a" "$into/b" | head -n 1)
  echo "${file:-the same files; the archive records (times, owners, order) differ}"
}
if [[ -n ${second:-} ]]; then
  for artefact in $(cd "$first/dist" && ls -A); do
    if cmp -s "$first/dist/$artefact" "$second/dist/$artefact"; then
      echo "ok: $artefact: the same $(stat -c %s "$first/dist/$artefact") bytes from both clones"
    elif [[ ! -f $second/dist/$artefact ]]; then
      echo "FAIL: $artefact: missing from the second build"; failed=1
    else
      echo "FAIL: $artefact differs between the clones: $(first_difference "$first/dist/$artefact" \
        "$second/dist/$artefact" "$artefact")"
      failed=1
    fi
  done
fi

# The page check drives Chromium with the browser tests' playwright-core.
command -v npm >/dev/null || bash "$root/scripts/setup.sh" packages-npm.txt
[[ -d $root/tests/web/node_modules/playwright-core ]] ||
  (cd "$root/tests/web" && npm ci --no-audit --no-fund --loglevel=error)
LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x720x24 -noreset" \
  bash "$root/tests/release/artefacts_test.sh" "$first/dist" "$version" "$work/screenshots" || failed=1
echo "release tests took $((SECONDS - start)) s"
exit $failed
