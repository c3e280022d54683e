#!/usr/bin/env bash
# Builds and runs every test: in Release, then again under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
Tools/deps.sh test

jobs=$(nproc)

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release -j "$jobs" --output-on-failure

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZIZO_SANITIZE=ON -DZIZO_BENCH=OFF > /dev/null
cmake --build build/sanitize -j "$jobs"
# The whole-show runs are left to Release: under the sanitizers they take
# many minutes and test nothing the short runs don't.
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/sanitize -j "$jobs" --output-on-failure -LE whole_show

# Each picture loader fuzzed for a minute, from small seed pictures; a crash,
# leak or out-of-bounds access fails the run (the input is kept in build/fuzz).
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DZIZO_FUZZ=ON -DZIZO_TESTS=OFF -DZIZO_BENCH=OFF > /dev/null
cmake --build build/fuzz -j "$jobs" --target fuzz_tga fuzz_jpeg zizo-fuzz-seeds
build/fuzz/zizo-fuzz-seeds build/fuzz/seeds
for loader in tga jpeg; do
  mkdir -p "build/fuzz/corpus/$loader"
  build/fuzz/fuzz_$loader -max_total_time=60 -close_fd_mask=2 -artifact_prefix=build/fuzz/ \
    "build/fuzz/corpus/$loader" "build/fuzz/seeds/$loader"
done
