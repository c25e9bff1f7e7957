#!/usr/bin/env bash
# Writes the seed inputs of every fuzz target into fuzz/corpus/<target>/ with the program's own
# writers (build/fuzz/make_fuzz_seeds). Seeds of the same name are replaced; the regression
# inputs of earlier findings stay.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >/dev/null
QT_QPA_PLATFORM=offscreen build/fuzz/make_fuzz_seeds fuzz/corpus
du -sh fuzz/corpus
