#!/bin/bash
# Under Xvfb: starts the mission from the dossier, walks right for a second,
# returns to the dossier and quits with Esc. Prints nightjar's exit code.
set -u
nightjar=$1
"$nightjar" > nightjar-output.txt 2>&1 &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name "NIGHTJAR : Glass Harbor" | head -1)
if [[ -z $wid ]]; then echo "no window"; kill $pid; exit 1; fi
# Focus can be refused for a moment while the window is being mapped.
focus() {
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    xdotool windowfocus --sync "$wid" 2>/dev/null && return 0
    sleep 0.3
  done
  echo "could not focus the window"
}
focus
sleep 0.5
xdotool key Return; sleep 0.5
xdotool keydown d; sleep 1.2; xdotool keyup d
sleep 0.3
xdotool key Tab; sleep 0.3
xdotool key Escape
if ! timeout 30 tail --pid=$pid -f /dev/null; then
  echo "the game did not quit; ending it"
  kill -TERM $pid
fi
wait $pid
echo "exit $?"
