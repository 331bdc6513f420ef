#!/usr/bin/env bash
# Resident memory of the real game over a long session under Xvfb: a seeded
# stream of keys (walking, menus, the options screen, missions begun, failed,
# retried and left) with a few clicks on the page, sampled every 10 s. Prints
# one line per sample and, at the end, how far resident memory grew after the
# first minute, which is what the limit in the README's table is about.
#   scripts/bench_memory.sh [BUILD_DIR] [MINUTES] [WIDTHxHEIGHT] [SEED]
# Needs a build; runs in a scratch folder, so no player file of yours is read
# or written.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
minutes=${2:-30}
size=${3:-1280x720}
seed=${4:-1}
export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/game.nj3p" "$build/campaign_maps.json" "$work/"

cat > "$work/session.sh" <<SESSION
#!/bin/bash
cd "$work"
source "$PWD/tests/app/game_window.sh"
start_game "$build/nightjar"
RANDOM=$seed
# Esc and P would end the session from the dossier; everything else a
# player presses is in.
keys=(w a s d w a s d Up Down Left Right shift+w shift+d e space Return Return Tab
      F1 F2 F3 F4 o Down Right Left Return q n Tab x)
w=\${1%x*}; h=\${1#*x}
end=\$((SECONDS + $minutes * 60))
next=\$SECONDS
while ((SECONDS < end)); do
  if ((SECONDS >= next)); then
    rss=\$(awk '/VmRSS/ {print \$2}' /proc/\$pid/status 2>/dev/null) || break
    echo "\$SECONDS s \$((rss / 1024)) MB"
    next=\$((next + 10))
  fi
  key=\${keys[RANDOM % \${#keys[@]}]}
  xdotool keydown "\$key"; sleep 0.\$((RANDOM % 4 + 1)); xdotool keyup "\$key"
  # Now and then a click on the page's middle band, where its buttons are,
  # but never its top left corner, where a QUIT could be.
  if ((RANDOM % 8 == 0)); then
    xdotool mousemove \$((w / 4 + RANDOM % (w / 2))) \$((h / 4 + RANDOM % (h / 2))) click 1
  fi
  kill -0 \$pid 2>/dev/null || { echo "the game ended at \$SECONDS s"; exit 1; }
done
kill -TERM \$pid
SESSION
chmod +x "$work/session.sh"

xvfb-run -a -s "-screen 0 ${size}x24" "$work/session.sh" "$size" | tee "$work/samples.txt"
# Single samples swing: rises of 40-60 MB at 1920 x 1080 that are gone 10 s
# later, and the full-size page layers arrive during the second minute. So the
# median of minutes 2-6 is set against the median of the last five minutes
# (shorter runs use halves of what follows the first minute).
awk '/ s .* MB$/ { t[n] = $1; m[n++] = $3 }
     function median(from, to,   k, i, j, v, tmp) {
       k = 0
       for (i = 0; i < n; i++) if (t[i] >= from && t[i] < to) v[k++] = m[i]
       for (i = 0; i < k; i++) for (j = i + 1; j < k; j++) if (v[j] < v[i]) { tmp = v[i]; v[i] = v[j]; v[j] = tmp }
       return k ? v[int(k / 2)] : -1
     }
     END {
       last = t[n - 1]
       span = (last - 60) / 2 < 300 ? (last - 60) / 2 : 300
       a = median(60, 60 + span); b = median(last - span, last + 1)
       if (a >= 0 && b >= 0) printf "grew %d MB after the first minute (%d -> %d MB, medians of %d s at each end)\n", b - a, a, b, span
     }' "$work/samples.txt"
