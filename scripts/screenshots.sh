#!/usr/bin/env bash
# Takes the README's screenshots with the real game under Xvfb (lavapipe):
# the dossier, and each of the four operations a few seconds into play.
# Needs a build (scripts/play.sh or scripts/test.sh) and xdotool.
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-docs/screenshots}")
mkdir -p "$out"
export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json

# One run: a fresh folder with every operation unlocked, the keys given,
# then the window is closed and the last frame saved.
shoot() {
  local name=$1; shift
  local dir; dir=$(mktemp -d)
  cp "$build/game.nj3p" "$build/campaign_maps.json" "$dir/"
  printf '3 1955 0 0 0\n1 1 1 1 \n' > "$dir/save.dat"
  cat > "$dir/drive.sh" <<DRIVE
#!/bin/bash
cd "$dir"
"$build/nightjar" --screenshot "$out/$name.png" > /dev/null 2>&1 &
pid=\$!
wid=\$(timeout 30 xdotool search --sync --onlyvisible --name "NIGHTJAR : Glass Harbor" | head -1)
for _ in 1 2 3 4 5 6 7 8 9 10; do xdotool windowfocus --sync "\$wid" 2>/dev/null && break; sleep 0.3; done
sleep 1.5
for key in $*; do
  case \$key in
    wait*) sleep \${key#wait} ;;
    *) xdotool key "\$key"; sleep 0.4 ;;
  esac
done
sleep 1
kill -TERM \$pid
wait \$pid
DRIVE
  chmod +x "$dir/drive.sh"
  xvfb-run -a -s "-screen 0 1920x1080x24" "$dir/drive.sh"
  rm -rf "$dir"
  echo "screenshots: $out/$name.png"
}

shoot dossier Right F3
shoot mission1 Return wait3
shoot mission2 Right Return wait3
shoot mission3 Right Right Return wait3
shoot mission4 Right Right Right Return wait3
