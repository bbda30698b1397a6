#!/usr/bin/env bash
# Holds one connection to the test command's X server from the first test to
# the last (the x_server fixture). Unless started with -noreset, Xvfb resets
# whenever its last client leaves and closes, unanswered, any connection that
# arrives meanwhile, so a test process that starts just as another ends would
# find no display. Without an X server there is nothing to hold. The
# end-to-end test holds its own as well, so that it is safe when run alone.
# Usage: x_hold.sh start|check|stop STATE_DIR
#   start: holds a connection, or makes it again if the server dropped it
#   check: succeeds while the connection is held
set -u
pidfile=$2/x_hold.pid
out=$2/x_hold.out
holding() { [[ -f $pidfile ]] && kill -0 "$(<"$pidfile")" 2>/dev/null && [[ $(<"$out") == *QUILLFROST_TEST_HOLD* ]]; }

case $1 in
start)
  [[ -n ${DISPLAY:-} ]] && command -v xprop >/dev/null || exit 0
  holding && exit 0
  [[ -f $pidfile ]] && echo "the X server dropped the held connection; holding it again"
  # Its own connection can meet a reset under way (a test just ended), which
  # drops it at once; it is then made again.
  for _ in 1 2 3; do
    stdbuf -oL xprop -root -spy QUILLFROST_TEST_HOLD >"$out" 2>&1 </dev/null &
    echo $! >"$pidfile"
    for _ in $(seq 100); do
      holding && break
      sleep 0.1
    done
    sleep 0.5
    holding && exit 0
    kill "$(<"$pidfile")" 2>/dev/null
  done
  echo "cannot hold a connection to the X server: $(<"$out")"
  exit 1
  ;;
check)
  holding
  ;;
stop)
  [[ -f $pidfile ]] && kill "$(<"$pidfile")" 2>/dev/null
  rm -f "$pidfile"
  exit 0
  ;;
esac
