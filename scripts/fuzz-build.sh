#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/; build-fuzz/targets.txt lists them.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build-fuzz/build.ninja ]; then
  cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
fi
cmake --build build-fuzz
