#!/bin/bash
# Picks the third operation by keyboard, clicks at X, Y and quits, the last frame in shot.png.
#   click_small_dossier.sh NIGHTJAR X Y
source "$(dirname "$0")/game_window.sh"
start_game "$1" --screenshot shot.png
xdotool key Right; sleep 0.3
xdotool key Right; sleep 0.5
xdotool mousemove --window "$wid" "$2" "$3"; sleep 0.3
xdotool click 1; sleep 0.8
xdotool key Escape
wait_for_quit
