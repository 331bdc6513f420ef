#!/bin/bash
# Under Xvfb: starts the mission from the dossier, walks right for a second,
# spends a moment on the dossier (the requisition list opened and closed)
# and goes back in, walks down, returns to the dossier and quits with Esc,
# twice: with the mission waiting there, the first one only asks. Prints
# nightjar's exit code.
set -u
source "$(dirname "$0")/game_window.sh"
start_game "$1"
sleep 0.5
xdotool key Return; sleep 0.5
xdotool keydown d; sleep 1.2; xdotool keyup d
sleep 0.3
xdotool key Tab; sleep 0.3
xdotool key q; sleep 0.3
xdotool key q; sleep 0.2
xdotool key Tab; sleep 0.3
xdotool keydown s; sleep 0.6; xdotool keyup s
sleep 0.3
xdotool key Tab; sleep 0.3
xdotool key Escape; sleep 0.3
xdotool key Escape
wait_for_quit
