#!/usr/bin/env bash
# Fails when a C++ file in the tree is not laid out as .clang-format says.
# In a git clone the files are the tracked ones; in a tree without git (a
# release tarball) they are found on disk, leaving out what git ignores here
# (build folders, node_modules). Finding no file at all is a failure: a check
# that looked at nothing proves nothing.
#   scripts/check_format.sh          check
#   scripts/check_format.sh --list   print the files it would check, one a line
# Fix with: scripts/check_format.sh --list | xargs clang-format-14 -i
set -euo pipefail
cd "$(dirname "$0")/.."

list_sources() {
  if command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files '*.cpp' '*.hpp' '*.h' '*.c'
  else
    find . \( -path ./.git -o -path ./node_modules -o -path './build*' -o -path ./.cache \) -prune \
      -o -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' -o -name '*.c' \) -print |
      sed 's|^\./||' | LC_ALL=C sort
  fi
}

mapfile -t files < <(list_sources)
if [[ "${1:-}" == "--list" ]]; then
  printf '%s\n' "${files[@]}"
  exit 0
fi
if ((${#files[@]} == 0)); then
  echo "check_format: found no C++ files to check in $(pwd)" >&2
  exit 1
fi
format=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z "$format" ]]; then
  echo "check_format: clang-format-14 is not installed (scripts/deps.sh --test installs it)" >&2
  exit 1
fi
if ! "$format" --dry-run -Werror "${files[@]}" 2>/dev/null; then
  echo "These files are not clang-formatted (run: scripts/check_format.sh --list | xargs $format -i):" >&2
  for f in "${files[@]}"; do "$format" --dry-run -Werror "$f" >/dev/null 2>&1 || echo "  $f" >&2; done
  exit 1
fi
echo "clang-format: ${#files[@]} files clean"
