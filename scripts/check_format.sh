#!/usr/bin/env bash
# Fails when a C++ file in the tree is not laid out as .clang-format says.
# Fix with: git ls-files '*.cpp' '*.hpp' | xargs clang-format-14 -i
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format)
mapfile -t files < <(git ls-files '*.cpp' '*.hpp' '*.h' '*.c')
if ! "$format" --dry-run -Werror "${files[@]}" 2>/dev/null; then
  echo "These files are not clang-formatted (run: git ls-files '*.cpp' '*.hpp' | xargs $format -i):" >&2
  for f in "${files[@]}"; do "$format" --dry-run -Werror "$f" >/dev/null 2>&1 || echo "  $f" >&2; done
  exit 1
fi
echo "clang-format: ${#files[@]} files clean"
