#!/usr/bin/env bash
# Builds the demo, makes its data when it is missing or older than the
# generator, and plays the show. Arguments go to zizo (-nosound: no sound).
set -euo pipefail
cd "$(dirname "$0")/.."
Tools/deps.sh demo

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZIZO_TESTS=OFF -DZIZO_BENCH=OFF > /dev/null
cmake --build build/release -j "$(nproc)" --target zizo zizo-data

if [ ! -f data/tekno.xm ] || [ build/release/zizo-data -nt data/tekno.xm ]; then
  build/release/zizo-data data
fi
cd data
exec ../build/release/zizo "$@"
