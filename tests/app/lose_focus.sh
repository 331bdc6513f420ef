#!/bin/bash
# Begins the mission, gives the focus to an xmessage for a moment and ends the game with SIGTERM.
#   lose_focus.sh NIGHTJAR ARGS...
source "$(dirname "$0")/game_window.sh"
start_game "$@"
xdotool key Return; sleep 1.0
xmessage -title other "another window" &
other=$!
mid=$(timeout 20 xdotool search --sync --onlyvisible --name "^other$" | head -1)
[[ -n $mid ]] && xdotool windowfocus --sync "$mid"
sleep 1.0
kill $other 2>/dev/null; sleep 0.5
kill -TERM $pid
wait_for_quit
