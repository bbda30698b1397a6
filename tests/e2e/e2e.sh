#!/usr/bin/env bash
# Plays the real game under the X server the test command starts: real X input
# through xdotool, screenshots through ImageMagick's import. Then starts it from
# folders whose names are not UTF-8, without a display, with each media file
# missing in turn and with a broken effect file.
# Usage: e2e.sh GAME_EXECUTABLE BUILD_DIR
set -uo pipefail
test_name=e2e
source "$(dirname "$0")/../support/script_checks.sh"
game=$1
build=$2
shots=$build/screenshots
skip=77

[[ -n ${DISPLAY:-} ]] || { echo "e2e: no DISPLAY; run under xvfb-run (scripts/test.sh does)"; exit $skip; }
need_tools xdotool import convert xwininfo xprop stdbuf
mkdir -p "$shots"
rm -f "$shots"/e2e-*.png "$shots"/x_hold.pid "$shots"/x_hold.out  # nothing left from an earlier run

# Unless started with -noreset, Xvfb resets whenever its last client leaves
# and closes, unanswered, any connection that arrives meanwhile: a game started
# then finds no X display, SDL comes up on a driver without one, and the game
# refuses to start. A connection held for the whole run keeps the server from
# resetting between the short-lived clients below; if a reset took it before
# the run began, it is made again before each start of the game, which never
# gets a second start.
x_hold=(bash "$(dirname "$0")/../support/x_hold.sh")
hold_server() { "${x_hold[@]}" start "$shots" | sed 's/^/e2e: /'; "${x_hold[@]}" check "$shots" || exit 1; }
held() { "${x_hold[@]}" check "$shots"; }
hold_server
source "$(dirname "$0")/../support/screen_checks.sh"
glow_colour=("R>97" "G>97" "B>97")



game_pid=
stop_game() {
  [[ -n $game_pid ]] && kill -0 "$game_pid" 2>/dev/null && kill "$game_pid"
  game_pid=
}
trap 'stop_game; "${x_hold[@]}" stop "$shots"' EXIT

# No early-closing readers (grep -q, head) in pipes: with pipefail the writer's
# SIGPIPE would read as a failure.
find_window() {
  window=$(xdotool search --name '^Quillfrost$' 2>/dev/null)
  window=${window%%$'\n'*}
  [[ -n $window ]] || exited
}
window_mapped() { [[ $(xwininfo -id "$window") == *'Map State: IsViewable'* ]]; }


# Starts PROGRAM (the game by default) in FOLDER (the build folder by default)
# and waits for its window; on failure says why and returns non-zero.
game_out=$shots/e2e-game.out
start_game() {
  local folder=${1:-$build} program=${2:-$game}
  hold_server
  (cd "$folder" && exec "$program") >"$game_out" 2>&1 &
  game_pid=$!
  wait_for 60 find_window && ! exited && wait_for 30 window_mapped && return 0
  local state="running"
  exited && { wait "$game_pid"; state="exited with status $?"; game_pid=; }
  local hold="held X connection alive"
  held || hold="held X connection lost"
  fail "no mapped window titled Quillfrost (game $state; window '${window:-}'; $hold); X says: $(xwininfo -root -tree 2>&1 | head -n 12)"
  cat "$game_out"
  # Where a game that never showed its window is waiting.
  [[ -n $game_pid ]] && command -v gdb >/dev/null &&
    gdb -p "$game_pid" -batch -ex 'thread apply all bt' 2>/dev/null | grep '^#' | head -n 40
  return 1
}

# A scenario that ends the game with quit_with_escape is run once more when
# LeakSanitizer's own tracer crashed at that exit (sanitizer build): then no
# leak check was made. A second such crash fails.
tracer_crash=
once_more_if_tracer_crashed() {
  tracer_crash=
  "$@"
  [[ -z $tracer_crash ]] && return
  echo "e2e: LeakSanitizer's tracer crashed at exit ($tracer_crash); once more"
  local first=$tracer_crash
  tracer_crash=
  "$@"
  [[ -n $tracer_crash ]] && fail "LeakSanitizer's tracer crashed at exit twice: $first; $tracer_crash"
}

# Escape ends the program at once with status 0.
quit_with_escape() {
  local what=$1 start finished=0
  start=$(date +%s%N)
  xdotool key Escape
  wait_for 1 exited && finished=1
  local took=$((($(date +%s%N) - start) / 1000000))
  if ((finished)); then
    wait "$game_pid"; local status=$?
    game_pid=
    if ((status == 0)); then
      pass "$what: Escape, exit status 0 after ${took} ms"
    elif [[ -z $tracer_crash ]] && lsan_tracer_crashed "$game_out"; then
      tracer_crash="$what: $(grep -m1 '^Tracer caught' "$game_out")"
    else
      fail "$what: Escape, exit status $status"
    fi
  else
    fail "$what: still running 1 s after Escape"
  fi
}

play() {
  start_game || return
  local geometry
  geometry=$(xwininfo -id "$window" | awk '/^  Width:/{w=$2} /^  Height:/{h=$2} END{print w "x" h}')
  [[ $geometry == "${screen_w}x${screen_h}" ]] && pass "window is ${geometry}, the screen size" \
    || fail "window is $geometry, screen is ${screen_w}x${screen_h}"

  check_title_blinks
  check_press_starts_and_fires 12

  # The cursor glow follows the mouse.
  check_cursor_follows $((screen_w * 3 / 4)) $((screen_h / 3)) $((screen_w * 5 / 16)) $((screen_h * 5 / 12))

  quit_with_escape "game"
}

exited() { ! kill -0 "$game_pid" 2>/dev/null; }

# The glow lies near, not on, the pointer (it marks the pointer's ground point),
# so look in a box around the pointer.
glow_near() { count_pixels "$shot" "$((screen_w * 5 / 16))x$((screen_h * 5 / 12))+$(($1 - screen_w * 5 / 32))+$(($2 - screen_h * 5 / 24))" "${glow_colour[@]}"; }

check_cursor_follows() {
  local ax=$1 ay=$2 bx=$3 by=$4 a_at_a a_at_b b_at_b b_at_a
  xdotool mousemove "$ax" "$ay"; sleep 0.5; screenshot cursor-a
  a_at_a=$(glow_near "$ax" "$ay"); b_at_a=$(glow_near "$bx" "$by")
  xdotool mousemove "$bx" "$by"; sleep 0.5; screenshot cursor-b
  b_at_b=$(glow_near "$bx" "$by"); a_at_b=$(glow_near "$ax" "$ay")
  if ((a_at_a > 100 && b_at_b > 100 && a_at_b * 2 < a_at_a && b_at_a * 2 < b_at_b)); then
    pass "cursor glow follows the mouse ($a_at_a, then $b_at_b glowing pixels; $a_at_b, $b_at_a left behind)"
  else
    fail "cursor glow: near ($ax, $ay) $a_at_a then $a_at_b pixels; near ($bx, $by) $b_at_a then $b_at_b"
  fi
}

# Runs a copy of the game in a folder outside the build tree, so the search
# cannot find the build's own media; prints nothing, sets status and errors.
run_copy() {
  local folder=$1
  hold_server
  (cd "$folder" && timeout 60 ./quillfrost >"$folder/out" 2>"$folder/err")
  copy_status=$?
}

check_start_failure() {
  local what=$1 name=$2 folder=$3 lines
  run_copy "$folder"
  if lsan_tracer_crashed "$folder/err"; then
    echo "e2e: $what: LeakSanitizer's tracer crashed at exit ($(grep -m1 '^Tracer caught' "$folder/err")); once more"
    run_copy "$folder"
  fi
  lines=$(wc -l <"$folder/err")
  if ((copy_status == 0 || copy_status == 124)); then
    fail "$what: exit status $copy_status (expected a start-up failure)"
  elif ((lines != 1)) || ! grep -qF "$name" "$folder/err"; then
    fail "$what: standard error should be one line naming $name, got $lines lines: $(head -c 300 "$folder/err")"
  else
    pass "$what: status $copy_status, $(cat "$folder/err")"
  fi
}

fresh_copy() {
  local folder
  folder=$(mktemp -d /tmp/quillfrost-e2e.XXXXXX)
  cp "$game" "$folder/quillfrost"
  cp -r "$build/media" "$folder/media"
  cp "$build"/*.wav "$folder/" 2>/dev/null
  echo "$folder"
}

broken_media() {
  local name folder
  for file in "$build"/media/*; do
    name=$(basename "$file")
    folder=$(fresh_copy)
    rm "$folder/media/$name"
    check_start_failure "without $name" "$name" "$folder"
    rm -rf "$folder"
  done
  folder=$(fresh_copy)
  printf 'technique WorldLighting {\n  pass P0 { VertexShader = compile vs_2_0 \n' >"$folder/media/myshader.fx"
  check_start_failure "malformed myshader.fx" myshader.fx "$folder"
  rm -rf "$folder"
}

start_and_quit() {
  start_game "$1" "$2" && quit_with_escape "$3"
  stop_game
}

# A folder whose name is not UTF-8: the game starts from it with the media
# copied in, and from another working folder with the media found beside the
# program, which hands the loaders full paths through that folder.
odd_folders() {
  local parent odd
  parent=$(mktemp -d /tmp/quillfrost-e2e.XXXXXX)
  odd=$parent/$'raw\xff'
  mkdir "$odd"
  cp "$game" "$odd/quillfrost"
  cp -r "$build/media" "$odd/media"
  cp "$build"/*.wav "$odd/" 2>/dev/null
  once_more_if_tracer_crashed start_and_quit "$odd" "$odd/quillfrost" "working folder not UTF-8"
  once_more_if_tracer_crashed start_and_quit "$parent" "$odd/quillfrost" "program folder not UTF-8"
  rm -rf "$parent"
}

# Without an X display the game ends at once, its line saying why.
no_display() {
  local err status line
  local err_file=$shots/e2e-no-display.err
  env -u DISPLAY "$game" 2>"$err_file" >/dev/null
  status=$?
  if lsan_tracer_crashed "$err_file"; then
    echo "e2e: no display: LeakSanitizer's tracer crashed at exit ($(grep -m1 '^Tracer caught' "$err_file")); once more"
    env -u DISPLAY "$game" 2>"$err_file" >/dev/null
    status=$?
  fi
  err=$(<"$err_file")
  line=$(grep '^Quillfrost: ' <<<"$err")
  if ((status == 1)) && [[ $line == "Quillfrost: cannot read the desktop display mode: "?* ]]; then
    pass "no display: status 1, $line"
  else
    fail "no display: status $status, $err"
  fi
}

once_more_if_tracer_crashed play
stop_game
odd_folders
no_display
broken_media
echo "e2e: $failures failure(s); screenshots in $shots"
((failures == 0))
