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
