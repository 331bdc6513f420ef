#!/usr/bin/env bash
# How close our page engine draws the overlay to a browser: the real page
# (assets/ui) in seven game states, each driven by a nightjar-sim script and
# handed over exactly as `nightjar-sim pagestate` prints it, rendered by
# `njtool page render` (the game's fonts, from the package) and by headless
# Chromium (the same TTF files through @font-face). Prints each state's mean
# absolute error over all colour channels, both images laid over the same
# grey, and keeps the images and a difference picture per state.
#   scripts/fidelity.sh [BUILD_DIR]     default: build
# BUILD_DIR must hold a finished build (njtool, nightjar-sim, game.nj3p,
# campaign_maps.json). Chromium is installed on first use; nothing else in
# the project needs it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build}" && pwd)
njtool=$build/tools/njtool/njtool
sim=$build/tools/nightjar-sim/nightjar-sim
for needed in "$njtool" "$sim" "$build/game.nj3p" "$build/campaign_maps.json"; do
  [[ -e $needed ]] || { echo "fidelity: $needed is missing; build first" >&2; exit 2; }
done

if ! command -v chromium >/dev/null; then
  echo "fidelity: installing chromium"
  if [[ $(id -u) -eq 0 ]]; then sudo=(); else sudo=(sudo); fi
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    chromium >/dev/null
fi

out=$build/fidelity
rm -rf "$out"
mkdir -p "$out/page/fonts" "$out/states"
cp -r "$root/assets/ui" "$out/page/ui"

# The package's six font files, under the names the game packs them as.
fonts=$root/node_modules/@expo-google-fonts
while read -r family weight style source; do
  cp "$fonts/$source" "$out/page/fonts/$family-$style.ttf"
  printf '@font-face { font-family: "%s"; font-weight: %s; font-display: block; src: url("../fonts/%s-%s.ttf"); }\n' \
    "$(sed 's/RobotoMono/Roboto Mono/' <<<"$family")" "$weight" "$family" "$style"
done >"$out/page/ui/fidelity-fonts.css" <<'EOF'
Montserrat 400 Regular montserrat/400Regular/Montserrat_400Regular.ttf
Montserrat 700 Bold montserrat/700Bold/Montserrat_700Bold.ttf
RobotoMono 400 Regular roboto-mono/400Regular/RobotoMono_400Regular.ttf
RobotoMono 700 Bold roboto-mono/700Bold/RobotoMono_700Bold.ttf
Lato 400 Regular lato/400Regular/Lato_400Regular.ttf
Lato 700 Bold lato/700Bold/Lato_700Bold.ttf
EOF

# The seven states. The ones inside a mission follow operation 1's winning
# playthrough: to the safe terminal (its prompt shows), into the safe, and on
# to the end.
route=$root/tests/playthroughs/mission1.sim
state_script() {
  case $1 in
    dossier) ;;
    dossier-locked) echo "call selectMission 1" ;;
    paused) printf 'call startOrAdvance\nstep 90\ncall togglePause\n' ;;
    prompt) awk '/^crack/ { exit } { print }' "$route" | sed '$d' ;;
    safe) awk '/^crack/ { exit } { print }' "$route"; echo "step 20" ;;
    failed) printf 'call startOrAdvance\ndown S\nstep 600\nup S\nstep 30\n' ;;
    complete) cat "$route" ;;
  esac
  echo pagestate
}
states=(dossier dossier-locked paused prompt safe failed complete)

printf '| State | Mean absolute error |\n|---|---|\n'
for state in "${states[@]}"; do
  dir=$out/states/$state
  mkdir -p "$dir"
  state_script "$state" >"$dir/state.sim"
  # A fresh folder each: a won mission writes save.dat where the game runs.
  (cd "$dir" && "$sim" --campaign "$build/campaign_maps.json" state.sim) |
    grep '^window\.syncGameState' | tail -n 1 >"$dir/state.js"
  [[ -s $dir/state.js ]] || { echo "fidelity: no page state for $state" >&2; exit 1; }

  "$njtool" page render "$root/assets/ui/ui.html" "$dir/ours.png" --root "$root/assets" \
    --package "$build/game.nj3p" --script "$(cat "$dir/state.js")" >/dev/null

  python3 - "$out/page/ui/ui.html" "$out/page/ui/$state.html" "$dir/state.js" <<'EOF'
import sys
page, target, state = sys.argv[1:]
html = open(page, encoding="utf-8").read()
fonts = '<link rel="stylesheet" href="fidelity-fonts.css">'
html = html.replace("<head>", "<head>" + fonts, 1) if "<head>" in html else fonts + html
script = "<script>" + open(state, encoding="utf-8").read() + "</script>"
html = html.replace("</body>", script + "</body>", 1) if "</body>" in html else html + script
open(target, "w", encoding="utf-8").write(html)
EOF
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
    --disable-background-networking --disable-component-update --disable-sync --no-first-run \
    --user-data-dir="$out/chromium-profile" --window-size=1280,720 --force-device-scale-factor=1 \
    --default-background-color=00000000 --virtual-time-budget=3000 \
    --screenshot="$dir/chromium.png" "file://$out/page/ui/$state.html" >/dev/null 2>&1

  error=$("$njtool" page compare "$dir/ours.png" "$dir/chromium.png" --diff "$dir/diff.png" |
    sed -n 's/^mean absolute error \(.*\) %$/\1/p')
  printf '| %s | %s %% |\n' "$state" "$error"
done
echo "images: $out/states/<state>/{ours,chromium,diff}.png"
