#!/usr/bin/env bash
# Builds the test programs that never start the document engine with AddressSanitizer,
# UndefinedBehaviorSanitizer and -Werror (Debug) into build-asan/, and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build-asan/build.ninja ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMARROWDALE_SANITIZE=ON
fi
cmake --build build-asan --target engine_free_tests
cd build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j2 -L no-engine
