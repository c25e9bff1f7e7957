#!/usr/bin/env bash
# Converts every Word document below DIR, each in its own marrowdale-batch run with its own output
# folder and its own HOME, TEMP, TMPDIR and XDG folders, and prints one line per document:
#   converted  N pages            the run reached "Done." without an error report
#   failed     N pages, reports   the run reached "Done." after error reports (each shown once)
#   crashed                       ended by a signal, or ended without "Done."
#   timed out                     still running after S seconds (default 900)
# Each run is also checked for what it must not leave: ".bmp" or ".jpg" files in the output folder,
# anything in its TEMP (the converter file, the engine's folders), a process of the run still alive,
# a changed document, a file written in its working folder. As root every run drops to the user
# nobody, so permissions count as they do for a user.
# Exit status: 1 when any run crashed, timed out or left something behind.
# Usage: bench/corpus.sh DIR [--timeout S]
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${MARROWDALE_BIN:-$here/build/bin}
[ $# -ge 1 ] && [ -d "$1" ] || { echo "usage: $0 DIR [--timeout S]" >&2; exit 2; }
corpus=$(cd "$1" && pwd)
limit=900
if [ "${2:-}" = --timeout ]; then limit=${3:?}; fi
[ -x "$bin/marrowdale-batch" ] || { echo "$0: build first: $bin/marrowdale-batch is missing" >&2; exit 2; }

as_user=()
if [ "$(id -u)" -eq 0 ]; then as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups); fi

base=$(mktemp -d)
trap 'rm -rf "$base"' EXIT
chmod 755 "$base"

# Processes whose environment carries this run's mark.
processes_of_run() {
  grep -lsxz "MARROWDALE_CORPUS_RUN=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}

# "Application Error: TEXT in ....PROCEDURE at line N  Please email ..." -> "line N: TEXT", once per
# text; the procedure is named when it is not the document conversion.
condensed_reports() {
  sed -n 's/^Application Error: \(.*\) in [^ ]*\.\([A-Za-z0-9_]*\) at line \([0-9]*\).*$/\2\t\3\t\1/p' "$1" |
    awk -F'\t' '{ where = ($1 == "SaveDocAsPCX" ? "" : $1 " ") "line " $2 }
      !seen[$3]++ { order[++n] = $3; first[$3] = where } { count[$3]++ }
      END { for (i = 1; i <= n; i++) { t = order[i]; printf "%s%s%s: %s", (i > 1 ? " | " : ""), first[t],
            (count[t] > 1 ? " (" count[t] "x)" : ""), t } }'
}

documents=0 converted=0 failed=0 crashed=0 timed_out=0 left_behind=0 pages_total=0
while IFS= read -r -d '' doc; do
  documents=$((documents + 1))
  run=$base/$documents
  mkdir -p "$run/out" "$run/temp" "$run/home" "$run/runtime" "$run/cwd"
  chmod 700 "$run/runtime"
  [ ${#as_user[@]} -gt 0 ] && chown -R nobody:nogroup "$run"
  mark=$$-$documents
  before=$( { [ -f "$doc" ] && sha256sum <"$doc"; } 2>/dev/null)

  start=$(date +%s.%N)
  (cd "$run/cwd" && exec timeout --kill-after=20 "$limit" "${as_user[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
    HOME="$run/home" TEMP="$run/temp" TMPDIR="$run/temp" XDG_RUNTIME_DIR="$run/runtime" \
    XDG_CONFIG_HOME="$run/home/.config" XDG_CACHE_HOME="$run/home/.cache" XDG_DATA_HOME="$run/home/.local/share" \
    QT_QPA_PLATFORM=offscreen MARROWDALE_CORPUS_RUN="$mark" \
    "$bin/marrowdale-batch" --out "$run/out/" "$doc" >"$run/stdout" 2>"$run/stderr")
  status=$?
  seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')

  pages=$(find "$run/out" -name '*.pcx' | wc -l)
  reports=$(condensed_reports "$run/stderr")
  if [ "$status" -eq 124 ] || { [ "$status" -eq 137 ] && awk -v s="$seconds" -v l="$limit" 'BEGIN { exit !(s >= l) }'; }; then
    verdict="timed out"; timed_out=$((timed_out + 1)); detail="after ${limit} s"
  elif [ "$status" -ge 128 ]; then
    verdict=crashed; crashed=$((crashed + 1)); detail="signal $((status - 128)): $(grep -v '^{' "$run/stderr" | tail -n 1)"
  elif [ "$status" -ne 0 ] || ! grep -q ': Done\.$' "$run/stderr"; then
    verdict=crashed; crashed=$((crashed + 1)); detail="no \"Done.\" (exit $status): $(tail -n 1 "$run/stderr")"
  elif [ -n "$reports" ]; then
    verdict=failed; failed=$((failed + 1)); detail="$pages pages; $reports"
  else
    verdict=converted; converted=$((converted + 1)); detail="$pages pages"
  fi
  pages_total=$((pages_total + pages))

  # What the run must not leave: give its hosts a moment to end by themselves.
  leftovers=()
  for _ in $(seq 50); do [ -z "$(processes_of_run "$mark")" ] && break; sleep 0.1; done
  for pid in $(processes_of_run "$mark"); do
    leftovers+=("process $(tr '\0' ' ' </proc/"$pid"/cmdline 2>/dev/null | cut -c1-60)(pid $pid)")
    kill -KILL "$pid" 2>/dev/null
  done
  while IFS= read -r -d '' stray; do leftovers+=("${stray#"$run/"}"); done \
    < <(find "$run/out" \( -name '*.bmp' -o -name '*.jpg' \) -print0; find "$run/temp" "$run/cwd" -mindepth 1 -maxdepth 1 -print0)
  after=$( { [ -f "$doc" ] && sha256sum <"$doc"; } 2>/dev/null)
  [ "$before" = "$after" ] || leftovers+=("the document changed")
  if [ ${#leftovers[@]} -gt 0 ]; then
    left_behind=$((left_behind + 1))
    detail="$detail; LEFT BEHIND: $(printf '%s, ' "${leftovers[@]}" | sed 's/, $//')"
  fi

  printf '%-10s %6ss  %s  (%s)\n' "$verdict" "$seconds" "${doc#"$corpus/"}" "$detail"
  rm -rf "$run"
done < <(find "$corpus" -mindepth 1 -regextype posix-extended -iregex '.*\.(doc|docx|docm|dot|dotx|dotm|rtf|odt)' -print0 |
  LC_ALL=C sort -z)

echo "$documents documents: $converted converted ($pages_total pages), $failed failed, $crashed crashed," \
  "$timed_out timed out, $left_behind left something behind"
[ $((crashed + timed_out + left_behind)) -eq 0 ]
