#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a player gets:
# the file list, valid desktop files, icons made from the title picture, and
# the installed game started from an unrelated working folder under the test
# command's X server: its window shows, Escape ends it with status 0, it prints
# nothing, and it still starts once its wave files are gone.
# With --tree it checks a copy of an installation instead (the Debian
# package's usr/, unpacked), which it may change.
# Usage: install_test.sh BUILD_DIR | install_test.sh --tree PREFIX
set -uo pipefail
test_name=install_test
source "$(dirname "$0")/../support/script_checks.sh"
here=$(cd "$(dirname "$0")" && pwd)
skip=77

[[ -n ${DISPLAY:-} ]] || { echo "install_test: no DISPLAY; run under xvfb-run (scripts/test.sh does)"; exit $skip; }
need_tools xdotool xwininfo desktop-file-validate appstreamcli compare

game_pid=
scratch_folder install game_pid
elsewhere=$work/somewhere/else
mkdir -p "$elsewhere"

if [[ $1 == --tree ]]; then
  prefix=$(cd "$2" && pwd)
else
  prefix=$work/prefix
  if ! cmake --install "$1" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    fail "cmake --install"
    exit 1
  fi
fi
# The launcher's folder: games/ under /usr, bin/ elsewhere.
launcher_dir=bin
[[ -d $prefix/games ]] && launcher_dir=games

expected=$(grep -v '^#' "$here/installed_files.txt" | sed "s|^bin/|$launcher_dir/|" | LC_ALL=C sort)
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[[ $actual == "$expected" ]] && pass "installed files" ||
  fail "installed files differ from installed_files.txt: $(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
for program in $launcher_dir/quillfrost lib/quillfrost/quillfrost; do
  [[ -x $prefix/$program ]] || fail "$program is not executable"
done

desktop_errors=$(desktop-file-validate "$prefix/share/applications/quillfrost.desktop" 2>&1) &&
  [[ -z $desktop_errors ]] && pass "desktop-file-validate" || fail "desktop-file-validate: $desktop_errors"
appstream_report=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) && pass "appstreamcli validate-tree" ||
  fail "appstreamcli validate-tree: $appstream_report"
appstream_report=$(appstreamcli validate --pedantic --no-net "$prefix"/share/metainfo/*.metainfo.xml 2>&1) &&
  pass "appstreamcli validate --pedantic" || fail "appstreamcli validate --pedantic: $appstream_report"

# The largest icon is the title picture itself; the others are it averaged down.
icons=$prefix/share/icons/hicolor
title=$prefix/lib/quillfrost/media/TheFrontEnd.bmp
differing=$(compare -metric AE "$title" "$icons/256x256/apps/quillfrost.png" null: 2>&1)
[[ $differing == 0 ]] && pass "256x256 icon is the title picture" || fail "256x256 icon: $differing pixels differ from the title picture"
# Against ImageMagick's box scaling: 48 is no whole fraction of 256, so the
# two average slightly different pixels there (root mean square error 0.018,
# against 0.06 for plain sampling instead of averaging).
for size in 128 64 48; do
  error=$(convert "$title" -scale ${size}x$size png:- | compare -metric RMSE - "$icons/${size}x$size/apps/quillfrost.png" null: 2>&1)
  error=${error#*(}
  error=${error%)*}
  awk -v e="$error" 'BEGIN { exit !(e != "" && e + 0 < 0.03) }' && pass "${size}x$size icon is the title picture scaled down" ||
    fail "${size}x$size icon: root mean square error $error against the scaled title picture"
done

running() { kill -0 "$game_pid" 2>/dev/null; }
# Titled Quillfrost and owned by the game started here, mapped on the screen.
window_shown() {
  running || return 0
  window=$(xdotool search --pid "$game_pid" --name '^Quillfrost$' 2>/dev/null)
  window=${window%%$'\n'*}
  [[ -n $window && $(xwininfo -id "$window" 2>/dev/null) == *'Map State: IsViewable'* ]]
}

# Starts the installed game from the unrelated folder, as a player would from a
# terminal. A sanitizer build checks it for leaks at exit; a run in which
# LeakSanitizer's own tracer crashed (no check made, nothing reported) is run
# once more.
play_installed() {
  local what=$1 retried=${2:-}
  (cd "$elsewhere" && exec "$prefix/$launcher_dir/quillfrost") >"$work/out" 2>"$work/err" &
  game_pid=$!
  window=
  if ! wait_for 60 window_shown || ! running; then
    fail "$what: no window titled Quillfrost; output: $(cat "$work/out" "$work/err" | head -c 600)"
    return
  fi
  pass "$what: window shown"
  local folder
  folder=$(readlink "/proc/$game_pid/cwd")
  [[ $folder == "$(readlink -f "$prefix/lib/quillfrost")" ]] && pass "$what: runs in the folder of its wave files" ||
    fail "$what: runs in $folder, not beside its wave files"
  xdotool mousemove 10 10 key Escape
  local status
  if wait_for 5 eval '! running'; then
    wait "$game_pid"; status=$?
    if ((status != 0)) && [[ -z $retried ]] && lsan_tracer_crashed "$work/err"; then
      echo "install_test: $what: LeakSanitizer's tracer crashed at exit ($(grep -m1 '^Tracer caught' "$work/err")); once more"
      game_pid=
      play_installed "$what" again
      return
    fi
    ((status == 0)) && pass "$what: Escape ended it with status 0" || fail "$what: exit status $status after Escape"
  else
    fail "$what: still running 5 s after Escape"
  fi
  game_pid=
  [[ ! -s $work/err && ! -s $work/out ]] && pass "$what: printed nothing" ||
    fail "$what: printed $(cat "$work/out" "$work/err" | wc -l) lines: $(cat "$work/out" "$work/err" | head -c 600)"
}

play_installed "installed game"
rm "$prefix"/lib/quillfrost/*.wav
play_installed "installed game without its wave files"

echo "install_test: $failures failure(s)"
((failures == 0))
