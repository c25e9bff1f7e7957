#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds into build/ and runs every test headless; then builds the
# tests that never start the document engine with the sanitizers into build-asan/ and runs them;
# last, it builds the fuzz targets into build-fuzz/ and runs each over its corpus and a few
# thousand inputs more.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/check-format.sh
./scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j2)
./scripts/sanitizer-tests.sh
./scripts/fuzz-check.sh
