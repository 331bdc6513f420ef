#!/usr/bin/env bash
# One command from a fresh clone to playing: install what is missing, build,
# and start the game from its build folder (where game.nj3p and
# campaign_maps.json are written). Arguments go to the game (--test, F11...).
# Only the game and what it needs are built: no tests, no benchmarks (their
# packages are not even installed: scripts/deps.sh without --test).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DNJ_BUILD_TESTS=OFF -DNJ_BUILD_BENCH=OFF \
  >/dev/null
cmake --build build --target nightjar

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "play: the game is built (build/nightjar), but there is no display to open its window on."
  echo "play: on a desktop, run this from a terminal inside the session; without one, under Xvfb:"
  echo "play:   xvfb-run -a -s \"-screen 0 1920x1080x24\" scripts/play.sh --test"
  exit 1
fi
cd build && exec ./nightjar "$@"
