#!/usr/bin/env bash
# scripts/check_format.sh in a release tarball (no git): it checks the C++ files git
# tracks, and fails on a tree holding none.   check_format_tarball.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

git -C "$source_dir" archive HEAD | tar -x -C "$scratch"
mkdir -p "$scratch/build-x"
echo 'int  badly_laid_out ;' > "$scratch/build-x/generated.cpp"  # a build folder is not the tree's

expected=$(git -C "$source_dir" ls-tree -r --name-only HEAD | grep -E '\.(cpp|hpp|h|c)$' | LC_ALL=C sort)
listed=$(cd "$scratch" && scripts/check_format.sh --list | LC_ALL=C sort)
diff <(echo "$expected") <(echo "$listed") ||
  { echo "without git the check lists other files than git tracks (above)"; exit 1; }
count=$(echo "$expected" | wc -l)
(cd "$scratch" && scripts/check_format.sh) | grep -qx "clang-format: $count files clean" ||
  { echo "the check did not pass on the $count files of the tarball"; exit 1; }

mkdir -p "$scratch/empty/scripts"
cp "$scratch/scripts/check_format.sh" "$scratch/empty/scripts/"
output=$("$scratch/empty/scripts/check_format.sh" 2>&1) &&
  { echo "the check passed on a tree without C++ files: $output"; exit 1; }
[[ $output == *"found no C++ files"* ]] || { echo "the check failed without saying why: $output"; exit 1; }
echo "check_format without git: ok ($count files)"
