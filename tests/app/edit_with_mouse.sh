#!/bin/bash
# The editor on a new FILE: names it, places a wall, a guard and two waypoints, saves (kept as
# first-save.json), test-plays and comes back, undoes the last waypoint, saves with Ctrl+S, quits.
#   edit_with_mouse.sh NIGHTJAR FILE
source "$(dirname "$0")/game_window.sh"
start_game "$1" --edit "$2"
sleep 0.7
click_at() {
  xdotool mousemove --window "$wid" "$1" "$2"; sleep 0.25
  xdotool click 1; sleep 0.5
}
# Nothing is selected yet: the properties are the mission's own.
xdotool key Tab; sleep 0.4   # into the first field, NAME, its text selected
xdotool type --delay 60 "Harbor Night"; sleep 0.3
xdotool key Return; sleep 0.5
click_at 976 21     # WALL
click_at 400 400    # a wall at field 300, 300
click_at 160 51     # GUARD
click_at 600 300    # a guard at field 450, 225
click_at 95 21      # ROUTE
click_at 600 200    # two waypoints for the guard just placed
click_at 720 200
click_at 520 82     # SAVE
cp "$2" first-save.json
click_at 449 82     # TEST
xdotool keydown d; sleep 0.8; xdotool keyup d; sleep 0.3
xdotool key Escape; sleep 0.8   # back in the editor
xdotool key ctrl+z; sleep 0.5   # the last waypoint, from before the test
xdotool key ctrl+s; sleep 0.8
xdotool key Escape; sleep 1.0   # saved: leaves without asking
xdotool key Escape              # the dossier's Esc quits
wait_for_quit
