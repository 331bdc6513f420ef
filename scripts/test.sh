#!/usr/bin/env bash
# One command from a fresh clone to the whole test suite: install what is
# missing, check the C++ layout against .clang-format, build with warnings as
# errors, build the fuzzers (clang, ASan and UBSan; the page fuzzers also with
# coverage alone, to explore faster), and run every test through CTest: unit,
# tools, fuzz and integration.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
scripts/check_format.sh

JOBS=$(nproc)
FUZZ_SECONDS=${NJ_FUZZ_SECONDS:-20}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DNJ_BUILD_FUZZ=ON -DNJ_BUILD_TESTS=OFF -DNJ_BUILD_BENCH=OFF -DNJ_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-fuzz -j "$JOBS" --target nj_fuzzers
cmake -S . -B build-fuzz-fast -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DNJ_FUZZ_SANITIZERS=OFF \
  -DNJ_BUILD_FUZZ=ON -DNJ_BUILD_TESTS=OFF -DNJ_BUILD_BENCH=OFF -DNJ_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-fuzz-fast -j "$JOBS" --target html_fuzz tree_edit_fuzz

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNJ_WARNINGS_AS_ERRORS=ON \
  -DNJ_FUZZ_BIN_DIR="$PWD/build-fuzz/fuzz" -DNJ_FUZZ_FAST_BIN_DIR="$PWD/build-fuzz-fast/fuzz" \
  -DNJ_FUZZ_SECONDS="$FUZZ_SECONDS" >/dev/null
cmake --build build-test -j "$JOBS"

cd build-test
ctest --output-on-failure -j "$JOBS" --timeout 600
