#!/usr/bin/env bash
# Lists every function of the programs over 80 lines or nested deeper than 4 (lambdas count), by
# clang-tidy over build/'s compile commands and the converter's sources; exits non-zero on any.
# Takes a few minutes on two cores, so the test suite does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/compile_commands.json ] || { echo "build first (scripts/build.sh)" >&2; exit 2; }
config="{CheckOptions: [{key: readability-function-size.LineThreshold, value: 80}, {key: readability-function-size.NestingThreshold, value: 4}]}"
checks='-*,readability-function-size'
mapfile -t sources < <(git ls-files '*.cpp' | grep -Ev '^(tests|bench|fuzz|nconvert)/')
found=$( {
  clang-tidy -p build --quiet --checks="$checks" --config="$config" \
    --header-filter="^$PWD/(app|conversion|errorreport|filelist|fsutil|mainwindow|platform|protocol|resources|shared|wordclient|wordhost)/" \
    "${sources[@]}" 2>/dev/null || true
  clang-tidy --quiet --checks="$checks" --config="$config" nconvert/*.cpp -- -std=c++17 -Inconvert 2>/dev/null || true
} | grep 'warning:' | sort -u || true)
if [ -n "$found" ]; then
  echo "$found"
  exit 1
fi
echo "no function over 80 lines or nested deeper than 4"
