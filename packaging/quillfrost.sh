#!/bin/sh
# Starts the installed game in its own folder, where its sound files lie: the
# game opens them by bare name from the working folder, and it takes no
# arguments and writes no files, so the folder it runs in changes nothing else.
game_dir=$(dirname "$(readlink -f "$0")")/../lib/quillfrost
cd "$game_dir" || exit 1
exec ./quillfrost "$@"
