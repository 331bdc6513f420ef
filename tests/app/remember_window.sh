#!/bin/bash
# Prints the window's geometry at start; with "change", switches to a window
# with F11, sizes and moves it; quits with Esc.
#   remember_window.sh NIGHTJAR [change]
set -u
source "$(dirname "$0")/game_window.sh"
start_game "$1"
geometry() { echo "$1 $(xdotool getwindowgeometry "$wid" | grep -E 'Geometry|Position' | tr -d ' ' | tr '\n' ' ')"; }
sleep 0.8; geometry start
if [[ ${2:-} == change ]]; then
  xdotool key F11; sleep 0.8
  xdotool windowsize "$wid" 1000 600; sleep 0.4
  xdotool windowmove "$wid" 120 90; sleep 0.4
  focus
fi
xdotool key Escape
wait_for_quit
