#!/bin/bash
# With "rebind", turns the volume down four steps and binds MOVE RIGHT to L on the options page;
# holds KEY in the mission for a second and goes to the dossier (with "stay", opens and closes the
# requisition list there, goes back in and walks down first); Esc twice quits (one asks).
#   rebind_and_walk.sh NIGHTJAR KEY [rebind|stay]
source "$(dirname "$0")/game_window.sh"
start_game "$1"
if [[ ${3:-} == rebind ]]; then
  xdotool key o; sleep 0.4
  for _ in 1 2 3 4; do xdotool key Left; sleep 0.15; done
  # From the volume down to MOVE RIGHT: the rows between, section headings skipped.
  for _ in $(seq 25); do xdotool key Down; sleep 0.08; done
  xdotool key Return; sleep 0.4
  xdotool key l; sleep 0.4
  xdotool key Escape; sleep 0.4
fi
xdotool key Return; sleep 0.5
xdotool keydown "$2"; sleep 1.2; xdotool keyup "$2"; sleep 0.3
xdotool key Tab; sleep 0.3
if [[ ${3:-} == stay ]]; then
  xdotool key q; sleep 0.3
  xdotool key q; sleep 0.2
  xdotool key Tab; sleep 0.3
  xdotool keydown s; sleep 0.6; xdotool keyup s; sleep 0.3
  xdotool key Tab; sleep 0.3
fi
xdotool key Escape; sleep 0.3
xdotool key Escape
wait_for_quit
