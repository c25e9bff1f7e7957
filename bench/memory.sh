#!/usr/bin/env bash
# Peak resident memory of the program and of its engine host, and the time per page, for made-up
# documents of 10, 100 and 300 pages (or the page counts given), each converted by its own
# marrowdale-batch run. Peaks are the VmHWM of the processes, sampled every 0.1 s while they run.
# Usage: bench/memory.sh [PAGES...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${MARROWDALE_BIN:-$here/build/bin}
[ -x "$bin/marrowdale-batch" ] || { echo "$0: build first: $bin/marrowdale-batch is missing" >&2; exit 2; }
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(10 100 300)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Peak resident set in kB of one process, "" once it is gone.
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status" 2>/dev/null || true; }

printf '%6s %9s %9s %9s %12s %12s\n' pages pcx seconds s/page "program MB" "host MB"
for pages in "${counts[@]}"; do
  run=$work/$pages
  mkdir -p "$run/out" "$run/temp" "$run/home" "$run/runtime"
  chmod 700 "$run/runtime"
  doc=$run/doc$pages.docx
  "$here/bench/make-paged-docx.sh" "$pages" "$doc"

  HOME=$run/home TEMP=$run/temp TMPDIR=$run/temp XDG_RUNTIME_DIR=$run/runtime QT_QPA_PLATFORM=offscreen \
    "$bin/marrowdale-batch" --out "$run/out/" "$doc" >"$run/stdout" 2>"$run/stderr" &
  program=$!
  program_kb=0 host_kb=0
  declare -A hosts=()
  while kill -0 "$program" 2>/dev/null; do
    kb=$(peak_kb "$program"); [ -n "$kb" ] && [ "$kb" -gt "$program_kb" ] && program_kb=$kb
    for host in $(pgrep -P "$program" -f marrowdale-wordhost || true); do hosts[$host]=1; done
    for host in "${!hosts[@]}"; do
      kb=$(peak_kb "$host"); [ -n "$kb" ] && [ "$kb" -gt "$host_kb" ] && host_kb=$kb
    done
    sleep 0.1
  done
  wait "$program" || { echo "$0: the run of $pages pages failed:" >&2; cat "$run/stderr" >&2; exit 1; }
  unset hosts

  pcx=$(find "$run/out" -name '*.pcx' | wc -l)
  seconds=$(sed -n 's/^{"doc":.*"seconds":\([0-9.]*\)}$/\1/p' "$run/stdout")
  awk -v p="$pages" -v n="$pcx" -v s="$seconds" -v a="$program_kb" -v b="$host_kb" \
    'BEGIN { printf "%6d %9d %9.1f %9.3f %12.0f %12.0f\n", p, n, s, s / p, a / 1024, b / 1024 }'
  grep '^Application Error' "$run/stderr" | head -3 || true
  rm -rf "$run"
done
