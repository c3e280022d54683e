#!/usr/bin/env bash
# Builds and runs every test: in Release, then again under AddressSanitizer
# and UndefinedBehaviorSanitizer, then fuzzes the picture loaders.
set -euo pipefail
cd "$(dirname "$0")/.."
Tools/deps.sh test

jobs=$(nproc)
passed=0

# Runs ctest with the given arguments and adds its count to the total.
run_ctest() {
  local log
  log=$(mktemp)
  ctest "$@" -j "$jobs" --output-on-failure 2>&1 | tee "$log"
  passed=$((passed + $(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$log")))
  rm -f "$log"
}

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build/release -j "$jobs"
run_ctest --test-dir build/release

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZIZO_SANITIZE=ON -DZIZO_BENCH=OFF > /dev/null
cmake --build build/sanitize -j "$jobs"
# The whole-show runs are left to Release: under the sanitizers they take
# many minutes and test nothing the short runs don't.
ASAN_OPTIONS=detect_leaks=1 run_ctest --test-dir build/sanitize -LE whole_show

# Each picture loader fuzzed for a minute, from small seed pictures; a crash,
# leak or out-of-bounds access fails the run (the input is kept in build/fuzz).
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DZIZO_FUZZ=ON -DZIZO_TESTS=OFF -DZIZO_BENCH=OFF > /dev/null
cmake --build build/fuzz -j "$jobs" --target fuzz_tga fuzz_jpeg zizo-fuzz-seeds
build/fuzz/zizo-fuzz-seeds build/fuzz/seeds
for loader in tga jpeg; do
  mkdir -p "build/fuzz/corpus/$loader"
  if ! build/fuzz/fuzz_$loader -max_total_time=60 -close_fd_mask=2 -artifact_prefix=build/fuzz/ \
      "build/fuzz/corpus/$loader" "build/fuzz/seeds/$loader" > "build/fuzz/$loader.log" 2>&1; then
    tail -n 60 "build/fuzz/$loader.log"
    echo "fuzz_$loader found a fault; its input is in build/fuzz/"
    echo "tests: $passed passed, 1 failed"
    exit 1
  fi
  echo "fuzz_$loader: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "build/fuzz/$loader.log"), no fault"
  passed=$((passed + 1))
done

echo "tests: $passed passed, 0 failed"
