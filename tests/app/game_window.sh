# Sourced by the scripts that drive nightjar under Xvfb with xdotool.
#   start_game NIGHTJAR [ARGS...]  starts it, sets $pid and $wid (its visible window), waits for its first frames
#   focus          focuses the window, retrying while it is being mapped
#   wait_for_quit  waits for the game to end (ending it if a key went astray); prints "exit CODE", then its output
set -u

start_game() {
  "$@" > nightjar-output.txt 2>&1 &
  pid=$!
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name "NIGHTJAR : Glass Harbor" | head -1)
  if [[ -z $wid ]]; then echo "no window"; kill $pid; exit 1; fi
  focus
  sleep 0.8
}

focus() {
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    xdotool windowfocus --sync "$wid" 2>/dev/null && return 0
    sleep 0.3
  done
  echo "could not focus the window"
}

wait_for_quit() {
  if ! timeout 30 tail --pid=$pid -f /dev/null; then
    echo "the game did not quit; ending it"
    kill -TERM $pid
  fi
  wait $pid
  echo "exit $?"
  cat nightjar-output.txt
}
