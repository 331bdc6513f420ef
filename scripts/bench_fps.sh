#!/usr/bin/env bash
# Frame rate of the real game under Xvfb on lavapipe (software Vulkan): a
# Playing frame of the first shipped operation with the HUD, full screen at
# each size, three runs each; then the processor time it takes while its
# window is out of sight. Needs a build (scripts/play.sh or scripts/test.sh).
#   scripts/bench_fps.sh [BUILD_DIR] [FRAMES]
# Measure on a quiet machine: anything else running shows in the frame rate.
# Each run also prints the processor time a frame took over all the game's
# threads (the rasteriser's included) and in the X server: they move far less
# with the machine's load, so they are what to compare between two builds.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
frames=${2:-300}
export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/game.nj3p" "$build/campaign_maps.json" "$work/"

# The X server's own processor time counts too: how a frame reaches the
# window decides how much of it the server spends.
cat > "$work/rate.sh" <<RATE
#!/bin/bash
cd "$work"
server=\$(pgrep -n Xvfb)
ticks() { awk '{print \$14 + \$15}' /proc/\$server/stat; }
hz=\$(getconf CLK_TCK)
for run in 1 2 3; do
  a=\$(ticks)
  rate=\$("$build/nightjar" --frames $frames 2>/dev/null |
    sed -nE 's/.* ([0-9.]+ fps), ([0-9.]+) ms of processor time a frame/\1 (\2 ms cpu/p')
  b=\$(ticks)
  echo "\$rate, \$(awk -v t=\$((b - a)) -v hz=\$hz 'BEGIN { printf "%.1f", t * 1000 / hz / $frames }') in the X server)"
done
RATE

# Processor time over three seconds in sight, then three seconds unmapped
# (what a minimised window is to X), in clock ticks per second of one core.
cat > "$work/idle.sh" <<IDLE
#!/bin/bash
cd "$work"
"$build/nightjar" > /dev/null 2>&1 &
pid=\$!
wid=\$(timeout 30 xdotool search --sync --onlyvisible --name "NIGHTJAR : Glass Harbor" | head -1)
sleep 2
ticks() { awk '{print \$14 + \$15}' /proc/\$pid/stat; }
hz=\$(getconf CLK_TCK)
a=\$(ticks); sleep 3; b=\$(ticks)
echo "in sight: \$(awk -v t=\$((b - a)) -v hz=\$hz 'BEGIN { printf "%.2f", t / hz / 3 }') of a core"
xdotool windowunmap "\$wid"; sleep 1
a=\$(ticks); sleep 3; b=\$(ticks)
echo "out of sight: \$(awk -v t=\$((b - a)) -v hz=\$hz 'BEGIN { printf "%.2f", t / hz / 3 }') of a core"
kill -TERM \$pid; wait \$pid
IDLE
chmod +x "$work/rate.sh" "$work/idle.sh"

for size in 1280x720 1920x1080; do
  echo "$size: $(xvfb-run -a -s "-screen 0 ${size}x24" "$work/rate.sh" | tr '\n' ' ')"
done
xvfb-run -a -s "-screen 0 1280x720x24" "$work/idle.sh"
