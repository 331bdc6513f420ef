#!/bin/bash
# Display-mode toggles, resizes and a minimise, the geometry printed at start and after each
# toggle; then sized and moved for the next start to remember. With "again", only the start.
#   window_storm.sh NIGHTJAR [again]
source "$(dirname "$0")/game_window.sh"
start_game "$1"
geometry() { echo "$1 $(xdotool getwindowgeometry "$wid" | grep -E 'Geometry|Position' | tr -d ' ' | sort | tr '\n' ' ')"; }
geometry start
if [[ ${2:-} != again ]]; then
  if xprop -id "$wid" _NET_WM_ICON | grep -q CARDINAL; then echo "icon set"; else echo "icon missing"; fi
  xdotool key F11; sleep 0.8; geometry windowed
  xdotool key F11; sleep 0.8; geometry fullscreen
  for i in 1 2 3 4 5 6; do xdotool key F11; sleep 0.15; done
  xdotool windowsize "$wid" 800 600; sleep 0.3
  xdotool windowsize "$wid" 1000 300; sleep 0.3
  xdotool windowminimize "$wid"; sleep 0.3
  xdotool windowmap "$wid"; sleep 0.3
  focus
  xdotool key alt+Return; sleep 0.8; geometry altenter
  xdotool windowsize "$wid" 1000 600; sleep 0.4
  xdotool windowmove "$wid" 120 90; sleep 0.4
  focus
fi
xdotool key Escape
wait_for_quit
