#!/usr/bin/env bash
# Retakes tests/app/reference/playing-1280x720.png: the fixed-step self-test
# frame at 1280 x 720 (operation 1 in play, the HUD over it), which the
# integration tests hold the renderer to. Run it with the build whose picture
# is right, when the page or the scene is meant to look different, and look
# at the result before committing it.
#   scripts/reference_frame.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$PWD/tests/app/reference/playing-1280x720.png
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/game.nj3p" "$build/campaign_maps.json" "$work/"
cd "$work"
VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json \
  xvfb-run -a -s "-screen 0 1280x720x24" "$build/nightjar" --test --fixed-step --screenshot "$out" >/dev/null
echo "wrote $out"
