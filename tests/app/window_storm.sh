#!/bin/bash
# Drives a running nightjar under Xvfb: display-mode toggles, resizes and a
# minimise, then Esc on the dossier to quit. Prints the window geometry after
# each toggle so the caller can check it, and nightjar's exit code last.
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
geometry() { echo "$1 $(xdotool getwindowgeometry "$wid" | grep Geometry | tr -d ' ')"; }
sleep 0.8; geometry start
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
xdotool key alt+Return; sleep 0.3
xdotool key Escape
if ! timeout 30 tail --pid=$pid -f /dev/null; then
  echo "the game did not quit; ending it"
  kill -TERM $pid
fi
wait $pid
echo "exit $?"
cat nightjar-output.txt
