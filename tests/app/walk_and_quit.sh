#!/bin/bash
# Under Xvfb: starts the mission from the dossier, walks right for a second,
# returns to the dossier and quits with Esc. Prints nightjar's exit code.
set -u
nightjar=$1
"$nightjar" > nightjar-output.txt 2>&1 &
pid=$!
wid=$(timeout 30 xdotool search --sync --name "NIGHTJAR : Glass Harbor" | head -1)
if [[ -z $wid ]]; then echo "no window"; kill $pid; exit 1; fi
xdotool windowfocus --sync "$wid"
sleep 0.5
xdotool key Return; sleep 0.5
xdotool keydown d; sleep 1.2; xdotool keyup d
sleep 0.3
xdotool key Tab; sleep 0.3
xdotool key Escape
timeout 30 tail --pid=$pid -f /dev/null
wait $pid
echo "exit $?"
