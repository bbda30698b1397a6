# Sourced by the scripts that play the real game in a window on the X server:
# screenshots through ImageMagick's import, pixels counted by colour, and the
# two checks every build's game must pass (the title blinks; a held left
# button starts a game and fires yellow shots). Needs $shots (the screenshot
# folder) and $test_name (the screenshots' prefix), an X server, and pass/fail
# from script_checks.sh.

read -r screen_w screen_h < <(xwininfo -root | awk '/^  Width:/{w=$2} /^  Height:/{h=$2} END{print w, h}')

# Pixels in a rectangle (WxH+X+Y) of an image whose channels pass every test,
# each written as channel, < or >, percent: "R>60" "B<35". Thresholding whole
# channels keeps this fast enough for full 1280x720 frames.
count_pixels() {
  local image=$1 area=$2; shift 2
  local args=() test first=1
  for test in "$@"; do
    local negate=()
    [[ ${test:1:1} == '<' ]] && negate=(-negate)
    args+=("(" "$image" -crop "$area" +repage -channel "${test:0:1}" -separate +channel -threshold "${test:2}%" "${negate[@]}" ")")
    ((first)) || args+=(-compose multiply -composite)
    first=0
  done
  convert "${args[@]}" -format '%[fx:round(mean*w*h)]' info:
}
title_colour=("R>60" "G>70" "B>85")
yellow_colour=("R>55" "G>55" "B<45")
whole_screen="${screen_w}x${screen_h}+0+0"
# Where the title picture lies on the screen (the upper band, most of the width).
title_area="$((screen_w * 78 / 100))x$((screen_h * 22 / 100))+$((screen_w * 8 / 100))+$((screen_h * 125 / 1000))"
title_shown=$((screen_w * screen_h / 45))
title_hidden=$((screen_w * screen_h / 180))

shot_index=0
shot=
screenshot() {
  shot_index=$((shot_index + 1))
  shot=$(printf '%s/%s-%02d-%s.png' "$shots" "$test_name" $shot_index "$1")
  import -window root "$shot" 2>/dev/null
}
title_pixels() { count_pixels "$shot" "$title_area" "${title_colour[@]}"; }

# Blinking title: some frames show it, some don't. Sets title_yellow, the most
# yellow pixels seen on the title, for the firing check.
title_yellow=0
check_title_blinks() {
  local shown=0 hidden=0 n
  for _ in $(seq 40); do
    screenshot title
    n=$(title_pixels)
    if ((n > title_shown)); then shown=$((shown + 1)); elif ((n < title_hidden)); then hidden=$((hidden + 1)); fi
    n=$(count_pixels "$shot" "$whole_screen" "${yellow_colour[@]}")
    ((n > title_yellow)) && title_yellow=$n
    ((shown >= 2 && hidden >= 2)) && break
  done
  ((shown >= 2 && hidden >= 2)) && pass "title blinks (shown in $shown shots, hidden in $hidden)" \
    || fail "title never blinked: shown in $shown shots, hidden in $hidden"
}

# Pressing the left button starts a game, and holding it fires yellow shots
# toward the cursor, within SHOTS screenshots. (A press and release that
# arrive together are both handled before the next frame looks, so the button
# is held a moment.)
check_press_starts_and_fires() {
  local tries=$1 n most_yellow=0 title_left=$title_shown
  xdotool mousemove $((screen_w / 2)) $((screen_h / 4)) mousedown 1
  for _ in $(seq "$tries"); do
    screenshot firing
    title_left=$(title_pixels)
    n=$(count_pixels "$shot" "$whole_screen" "${yellow_colour[@]}")
    ((n > most_yellow)) && most_yellow=$n
    ((most_yellow > title_yellow + 300 && title_left < title_hidden)) && break
  done
  xdotool mouseup 1
  ((title_left < title_hidden)) && pass "title gone once the game started" \
    || fail "title still drawn after the press ($title_left pixels)"
  ((most_yellow > title_yellow + 300)) && pass "yellow shots while firing ($title_yellow yellow pixels on the title, $most_yellow while firing)" \
    || fail "no yellow shots: $title_yellow yellow pixels on the title, at most $most_yellow while firing"
}
