#!/usr/bin/env bash
# One command from a fresh clone to playing: install what is missing, build,
# and start the game from its build folder (where game.nj3p and
# campaign_maps.json are written).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build

if [[ -x build/nightjar ]]; then
  cd build && exec ./nightjar "$@"
fi
echo "play: the game itself is not built yet in this checkout."
echo "play: what exists is the content pipeline; here is the packaged game.nj3p:"
build/tools/njtool/njtool pack list build/game.nj3p
