#!/usr/bin/env bash
# Times Marrowdale against what a user would run instead, side by side, as medians of interleaved
# rounds (every round runs every workload with every tool, so load from elsewhere hits all alike):
#   marrowdale  build/bin/marrowdale-batch --out DIR DOC...
#   soffice+gs  soffice --headless --convert-to pdf DOC...  (one process for all documents), then per PDF
#               gs -q -dBATCH -dNOPAUSE -sDEVICE=pcx24b -r150 -o out_%d.pcx DOC.pdf
#   magick      soffice to PDF, pdftoppm -r 150, then ImageMagick's convert once per page
#   floor       the engine alone: marrowdale-wordhost --render DOC (host start, open, layout, every page)
#   window      (--window) marrowdale-batch showing the real window on an X server (Xvfb)
#   before      (--before BIN) marrowdale-batch of another build's bin folder, e.g. the one before a change
# Beside the wall time every run's CPU time is taken, all its processes together (perf stat's task
# clock, which counts every process the run starts); the table gives it per page, so a saving shows
# even where the wall time is noisy.
# The floor of a batch is left out: the engine alone has no batch mode, and a host per document
# would mostly time engine starts.
# Usage: bench/peers.sh [--rounds N] [--no-magick] [--window] [--before BIN] [--standard DIR] [DOC...] [--batch DOC...]
#   DOC...          each document is one workload
#   --batch DOC...  all documents after it form one workload converted in one run
#   --standard DIR  makes (once) and times the standard workloads in DIR: 25 pages of text, 20 pages
#                   with drawings, 51-page .doc and 180-page .docx with negative indents, 54 and 108
#                   pages of text, and 30 small real documents in one run
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${MARROWDALE_BIN:-$here/build/bin}
rounds=3
magick=1
window=0
before=
singles=()
batch=()
standard=

while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --no-magick) magick=0; shift ;;
    --window) window=1; shift ;;
    --before) before=$(cd "$2" && pwd); shift 2 ;;
    --standard) standard=$2; shift 2 ;;
    --batch) shift; batch=("$@"); break ;;
    -*) echo "usage: $0 [--rounds N] [--no-magick] [--standard DIR] [DOC...] [--batch DOC...]" >&2; exit 2 ;;
    *) singles+=("$1"); shift ;;
  esac
done

if [ -n "$standard" ]; then
  mkdir -p "$standard"
  std=$(cd "$standard" && pwd)
  [ -f "$std/text25.docx" ] || "$here/bench/make-paged-docx.sh" 25 "$std/text25.docx"
  [ -f "$std/drawings20.docx" ] || "$here/bench/make-drawings-docx.sh" 20 "$std/drawings20.docx"
  [ -f "$std/indented51.doc" ] || "$here/bench/make-indented-doc.sh" 51 "$std/indented51.doc"
  [ -f "$std/text54.docx" ] || "$here/bench/make-paged-docx.sh" 54 "$std/text54.docx"
  [ -f "$std/indented180.docx" ] || "$here/bench/make-indented-doc.sh" 180 "$std/indented180.docx"
  [ -f "$std/text108.docx" ] || "$here/bench/make-paged-docx.sh" 108 "$std/text108.docx"
  singles+=("$std/text25.docx" "$std/drawings20.docx" "$std/indented51.doc" "$std/text54.docx" "$std/indented180.docx"
            "$std/text108.docx")
  if [ ${#batch[@]} -eq 0 ]; then
    testdocs=/work/shared/testdocs
    [ -d "$testdocs" ] || testdocs=$here/tests/data/testdocs
    # The 30 smallest documents that are not meant to fail.
    mapfile -t batch < <(find "$testdocs" -name '*.docx' -printf '%s %p\n' | sort -n |
                         awk '$2 !~ /empty|external-picture/ { sub(/^[0-9]+ /, ""); print }' | head -30)
  fi
fi
[ ${#singles[@]} -gt 0 ] || [ ${#batch[@]} -gt 0 ] || { echo "$0: no documents" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache TMPDIR=$work/tmp TEMP=$work/tmp
mkdir -p "$HOME" "$TMPDIR"
lo="-env:UserInstallation=file://$work/lo"

now() { date +%s.%N; }

# Each tool reads its documents from the arguments and writes into $out.
run_marrowdale() { "$bin/marrowdale-batch" --out "$out" "$@" >/dev/null 2>"$work/batch.err" || true; }
run_gs() {
  soffice --headless "$lo" --convert-to pdf --outdir "$out" "$@" >/dev/null 2>&1
  local doc name
  for doc in "$@"; do
    name=$(basename "$doc"); name=${name%.*}
    gs -q -dBATCH -dNOPAUSE -sDEVICE=pcx24b -r150 -o "$out/${name}_%d.pcx" "$out/$name.pdf"
  done
}
run_magick() {
  soffice --headless "$lo" --convert-to pdf --outdir "$out" "$@" >/dev/null 2>&1
  local doc name ppm
  for doc in "$@"; do
    name=$(basename "$doc"); name=${name%.*}
    pdftoppm -r 150 "$out/$name.pdf" "$out/$name"
    for ppm in "$out/$name"-*.ppm; do /usr/bin/convert "$ppm" "${ppm%.ppm}.pcx"; rm -f "$ppm"; done
  done
}
run_window() {
  DISPLAY=$window_display QT_QPA_PLATFORM=xcb \
    "$bin/marrowdale-batch" --out "$out" "$@" >/dev/null 2>"$work/window.err" || true
}
run_before() { "$before/marrowdale-batch" --out "$out" "$@" >/dev/null 2>"$work/before.err" || true; }
run_floor() { local doc; for doc in "$@"; do "$bin/marrowdale-wordhost" --render "$doc" - >/dev/null 2>&1 || true; done; }

# Runs one tool under perf stat: prints the wall seconds; the CPU seconds go to $work/cpu.
export -f now run_marrowdale run_gs run_magick run_window run_before run_floor
export bin lo work before

# One X server for the whole bench, as a user's desktop is there already: a server started per
# run (xvfb-run, about 0.27 s) would be timed as the window's.
if [ "$window" = 1 ]; then
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "$0: Xvfb did not start" >&2; exit 1; }
  export window_display=:$(head -n1 "$work/display")
fi
timed_run() {
  local tool=$1 t0 t1; shift
  t0=$(now)
  perf stat -x, -e task-clock -o "$work/cpu.stat" -- bash -c '"$0" "$@"' "run_$tool" "$@"
  t1=$(now)
  awk -F, '$3 == "task-clock" { printf "%.3f\n", $1 / 1000 }' "$work/cpu.stat" >"$work/cpu"
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }'
}

tools=(marrowdale gs floor)
[ "$magick" = 1 ] && tools+=(magick)
[ "$window" = 1 ] && tools+=(window)
[ -n "$before" ] && tools+=(before)

# Workloads: one line each, documents separated by tabs.
workloads=()
for doc in "${singles[@]}"; do workloads+=("$(realpath "$doc")"); done
if [ ${#batch[@]} -gt 0 ]; then
  joined=$(for doc in "${batch[@]}"; do realpath "$doc"; done | paste -sd $'\t')
  workloads+=("$joined")
fi

# Warm both engines once so no round pays for profile creation.
soffice --headless "$lo" --terminate_after_init >/dev/null 2>&1 || true
first=${workloads[0]%%$'\t'*}
"$bin/marrowdale-wordhost" --render "$first" - >/dev/null 2>&1 || true

times=$work/times
: >"$times"
cpus=$work/cpus
: >"$cpus"
pagesof=$work/pages
: >"$pagesof"
for round in $(seq 1 "$rounds"); do
  for index in "${!workloads[@]}"; do
    IFS=$'\t' read -r -a docs <<<"${workloads[$index]}"
    for tool in "${tools[@]}"; do
      [ "$tool" = floor ] && [ ${#docs[@]} -gt 1 ] && continue
      # A folder of its own for every run, all removed at the end: on ext4 without a journal each
      # new file skips every inode freed in the last minutes, so removing a run's hundreds of
      # files just before the next run would slow that run's every file creation.
      export out=$work/out/$round-$index-$tool; mkdir -p "$out"
      wall=$(timed_run "$tool" "${docs[@]}")
      echo "$index $tool $wall" >>"$times"
      echo "$index $tool $(cat "$work/cpu")" >>"$cpus"
      if [ "$tool" = marrowdale ] && [ "$round" = 1 ]; then
        echo "$index $(find "$out" -name '*.pcx' | wc -l)" >>"$pagesof"
      fi
    done
  done
  echo "round $round of $rounds done" >&2
done

median() { awk -v i="$1" -v t="$2" '$1 == i && $2 == t { print $3 }' "${3:-$times}" | sort -n |
           awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Milliseconds of CPU per page: the median CPU seconds of a tool's runs over the pages.
per_page() { awk -v c="$(median "$1" "$2" "$cpus")" -v p="$3" 'BEGIN { if (c == "-" || p == "" || p == 0) print "-"; else printf "%.1f", 1000 * c / p }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }

echo "cores: $(nproc); medians of $rounds interleaved rounds, seconds; cpu: ms of CPU per page, all processes"
printf '%-24s %5s %10s %10s %8s %8s %6s %7s %8s %6s %8s %6s %6s %6s %6s\n' workload pages marrowdale soffice+gs magick floor m/gs m/floor window w/m before b/gs m-cpu gs-cpu b-cpu
for index in "${!workloads[@]}"; do
  IFS=$'\t' read -r -a docs <<<"${workloads[$index]}"
  if [ ${#docs[@]} -gt 1 ]; then name="batch of ${#docs[@]} documents"; else name=$(basename "${docs[0]}"); fi
  pages=$(awk -v i="$index" '$1 == i { print $2 }' "$pagesof")
  m=$(median "$index" marrowdale); g=$(median "$index" gs); f=$(median "$index" floor)
  im=-; [ "$magick" = 1 ] && im=$(median "$index" magick)
  w=-; [ "$window" = 1 ] && w=$(median "$index" window)
  b=-; [ -n "$before" ] && b=$(median "$index" before)
  bc=-; [ -n "$before" ] && bc=$(per_page "$index" before "$pages")
  printf '%-24s %5s %10s %10s %8s %8s %6s %7s %8s %6s %8s %6s %6s %6s %6s\n' "$name" "$pages" "$m" "$g" "$im" "$f" \
    "$(ratio "$m" "$g")" "$(ratio "$m" "$f")" "$w" "$(ratio "$w" "$m")" "$b" "$(ratio "$b" "$g")" \
    "$(per_page "$index" marrowdale "$pages")" "$(per_page "$index" gs "$pages")" "$bc"
done

# CPU per further page of text: text25 and text108 are made alike, so what the longer one costs
# more, over its 83 further pages, is a page's own cost, without the start-up both pay (soffice's
# start alone varies by a few tenths of a second, so fewer further pages say little).
short=-; long=-
for index in "${!workloads[@]}"; do
  case "${workloads[$index]}" in
    */text25.docx) short=$index ;;
    */text108.docx) long=$index ;;
  esac
done
if [ "$short" != - ] && [ "$long" != - ]; then
  sp=$(awk -v i="$short" '$1 == i { print $2 }' "$pagesof"); lp=$(awk -v i="$long" '$1 == i { print $2 }' "$pagesof")
  further() { awk -v a="$(median "$short" "$1" "$cpus")" -v b="$(median "$long" "$1" "$cpus")" -v p="$((lp - sp))" \
                'BEGIN { if (a == "-" || b == "-" || p <= 0) print "-"; else printf "%.1f", 1000 * (b - a) / p }'; }
  line="cpu per further page of text (text25 -> text108): marrowdale $(further marrowdale) ms, soffice+gs $(further gs) ms"
  [ -n "$before" ] && line="$line, before $(further before) ms"
  echo "$line"
fi
