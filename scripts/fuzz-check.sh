#!/usr/bin/env bash
# Builds the fuzz targets (scripts/fuzz-build.sh) and runs each over its checked-in corpus
# (fuzz/corpus/<target>/: seeds and regression inputs) and then for a short fixed number of
# mutated inputs with a fixed seed, so a run takes seconds. Fails on the first finding; the
# input that caused it is kept in build-fuzz/findings/. Longer runs: bench/fuzz.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${FUZZ_CHECK_RUNS:-3000}
./scripts/fuzz-build.sh >/dev/null
. fuzz/environment.sh
mkdir -p build-fuzz/findings
while IFS= read -r target; do
  [ -n "$target" ] || continue
  fuzz_options "$target"
  fresh=$(mktemp -d)  # new inputs go here, never into the checked-in corpus
  if ! build-fuzz/"$target" -runs="$RUNS" -seed=1 -timeout=20 -print_final_stats=0 \
       -artifact_prefix=build-fuzz/findings/"$target"- "$fresh" fuzz/corpus/"$target" \
       >build-fuzz/findings/"$target".log 2>&1; then
    rm -rf "$fresh"
    tail -40 build-fuzz/findings/"$target".log
    echo "fuzz target $target found a fault (build-fuzz/findings/)" >&2
    exit 1
  fi
  rm -rf "$fresh"
  echo "fuzz $target: $(ls fuzz/corpus/"$target" | wc -l) corpus inputs and $RUNS runs, nothing found"
done < build-fuzz/targets.txt
