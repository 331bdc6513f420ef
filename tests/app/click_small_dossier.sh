#!/bin/bash
# Under Xvfb on a screen smaller than the page's 1280 x 720 (the game starts
# full screen on it): selects the third operation with the keyboard, then
# clicks where the first operation's card is drawn and quits with Esc, saving
# the last frame as shot.png. Prints nightjar's exit code.
#   click_small_dossier.sh NIGHTJAR X Y
set -u
source "$(dirname "$0")/game_window.sh"
start_game "$1" --screenshot shot.png
sleep 0.8
xdotool key Right; sleep 0.3
xdotool key Right; sleep 0.5
xdotool mousemove --window "$wid" "$2" "$3"; sleep 0.3
xdotool click 1; sleep 0.8
xdotool key Escape
wait_for_quit
