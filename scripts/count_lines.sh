#!/usr/bin/env bash
# How much test code we carry for the code it tests: prints product lines,
# test lines and tests as a percentage of product (the team aims at about a
# third).
#
# What counts: non-blank lines (comments included) of the files we write by
# hand as code: .cpp .hpp .h .vert .frag .js .css .html .py .sh.
#   product: app/ audio/ core/ data/ game/ render/ ui/ tools/ assets/ scripts/
#            (scripts/ because play.sh, deps.sh and their helpers ship with the
#            game and are maintained like it; assets/ for the page's own
#            html, css and js)
#   tests:   tests/ and fuzz/ (python harnesses and shell drivers included)
# What does not: blank lines; data and prose (.json .sim .route .pad .tok .md
# .png, CMakeLists.txt); the fuzz corpora; bench/ (it measures, it neither
# ships nor checks anything); node_modules, build directories and .git.
#
# Usage: scripts/count_lines.sh [--folders]   (--folders: one line a folder)
set -euo pipefail
cd "$(dirname "$0")/.."

PRODUCT=(app audio core data game render ui tools assets scripts)
TESTS=(tests fuzz)

# Non-blank code lines below the given folders (missing folders count 0).
count() {
  local dirs=()
  for d in "$@"; do [[ -d $d ]] && dirs+=("$d"); done
  ((${#dirs[@]})) || { echo 0; return; }
  find "${dirs[@]}" -type d \( -name node_modules -o -name 'build*' \
    -o -name .git -o -path fuzz/corpus \) -prune -o -type f \
    \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' -o -name '*.vert' \
    -o -name '*.frag' -o -name '*.js' -o -name '*.css' -o -name '*.html' \
    -o -name '*.py' -o -name '*.sh' \) -print0 |
    xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}

if [[ ${1:-} == --folders ]]; then
  for d in "${PRODUCT[@]}"; do printf 'product %-20s %6d\n' "$d" "$(count "$d")"; done
  for d in tests/* fuzz; do [[ -d $d ]] && printf 'tests   %-20s %6d\n' "$d" "$(count "$d")"; done
fi

product=$(count "${PRODUCT[@]}")
tests=$(count "${TESTS[@]}")
awk -v p="$product" -v t="$tests" 'BEGIN {
  printf "product %6d\ntests   %6d\nratio   %5.1f %%\n", p, t, p ? 100 * t / p : 0 }'
