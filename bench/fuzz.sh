#!/usr/bin/env bash
# bench/fuzz.sh [SECONDS] [TARGET...]: runs each fuzz target (all of them by default) for SECONDS
# (default 600), one after the other at the lowest priority, on a working corpus in
# build-fuzz/corpus/<target>/ that starts from the checked-in one and grows from run to run.
# Prints per target the inputs run, the working corpus and the findings; a finding's input is
# kept in build-fuzz/findings/ (give it a fix, then a copy in fuzz/corpus/<target>/).
# Exits non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
./scripts/fuzz-build.sh >/dev/null
if [ $# -gt 0 ]; then targets=("$@"); else mapfile -t targets < build-fuzz/targets.txt; fi
. fuzz/environment.sh
mkdir -p build-fuzz/findings
status=0
summary=()
for target in "${targets[@]}"; do
  [ -n "$target" ] || continue
  fuzz_options "$target"
  work=build-fuzz/corpus/$target
  mkdir -p "$work"
  log=build-fuzz/findings/$target-bench.log
  before=$(ls build-fuzz/findings | grep -c "^$target-\(crash\|leak\|timeout\|oom\)-" || true)
  # A run ends at its first finding.
  nice -n 19 build-fuzz/"$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$target"- \
    "$work" fuzz/corpus/"$target" >"$log" 2>&1 || true
  after=$(ls build-fuzz/findings | grep -c "^$target-\(crash\|leak\|timeout\|oom\)-" || true)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$((after - before))
  [ "$found" -eq 0 ] || status=1
  summary+=("$(printf '%-22s %10s runs  %6s inputs in corpus  %s finding(s)' "$target" "${runs:-?}" \
    "$(ls "$work" | wc -l)" "$found")")
  echo "${summary[-1]}"
done
echo "--- $seconds s per target"
printf '%s\n' "${summary[@]}"
exit $status
