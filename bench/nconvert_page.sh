#!/usr/bin/env bash
# Times one JPEG -> PCX conversion of a 1275x1650 page (8.5x11 in at 150 dpi, quality 100, 4:2:0
# as the program writes them) for both converter builds: a text page (mostly white), a photo-like
# page (worst case for run-length encoding) and, with -d, the first page of a document as
# LibreOffice lays it out at 150 dpi. Prints per conversion the mean wall time, CPU time and page faults
# (on a virtual machine every first touch of a fresh page of memory costs ~10 us, so faults
# matter as much as CPU; the machine may be shared, so CPU time is the steadier of the times).
# -c times another converter beside ours, e.g. an older build kept for comparison.
# Usage: bench/nconvert_page.sh [-d DOC] [-c OTHER_NCONVERT] [-n RUNS] [BUILD_DIR [RUNS]]
set -euo pipefail
runs=20 doc='' other=''
while getopts 'd:c:n:' option; do
  case $option in
    d) doc=$OPTARG ;;
    c) other=$OPTARG ;;
    n) runs=$OPTARG ;;
    *) sed -n 's/^# Usage: //p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
build=${1:-build}
runs=${2:-$runs}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/convert -size 1275x1650 xc:white -fill black -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 18 \
  $(for i in $(seq 1 60); do printf -- '-annotate +100+%d Line_%d_of_a_page_of_text_with_words_in_it ' $((80 + i * 25)) "$i"; done) \
  -quality 100 -sampling-factor 4:2:0 "$work/text.jpg"
/usr/bin/convert -size 1275x1650 gradient:white-navy -attenuate 0.3 +noise Gaussian -quality 100 -sampling-factor 4:2:0 \
  "$work/photo.jpg"
pages=(text photo)
if [ -n "$doc" ]; then
  timeout 120 soffice --headless -env:UserInstallation=file://$work/lo --convert-to pdf --outdir "$work" "$doc" \
    >/dev/null 2>&1
  pdf=$work/$(basename "${doc%.*}").pdf
  pdftoppm -r 150 -f 1 -l 1 -png "$pdf" "$work/doc"
  /usr/bin/convert "$work"/doc*.png -quality 100 -sampling-factor 4:2:0 "$work/document.jpg"
  pages+=(document)
fi

# RUNS INPUT OUTPUT COMMAND... -> "wall-ms cpu-ms faults" per run, the children's own figures.
measure() {
  python3 - "$@" <<'EOF'
import resource, subprocess, sys, time
runs, source, target, command = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4:]
args = command + ["-quiet", "-out", "pcx", "-c", "1", "-o", target, source]
subprocess.run(args, check=True)  # the input in the page cache, like the program's fresh JPEG
before = resource.getrusage(resource.RUSAGE_CHILDREN)
start = time.perf_counter()
for _ in range(runs):
    subprocess.run(args, check=True)
wall = time.perf_counter() - start
after = resource.getrusage(resource.RUSAGE_CHILDREN)
cpu = after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime
faults = after.ru_minflt - before.ru_minflt + after.ru_majflt - before.ru_majflt
print(f"{wall * 1000 / runs:.1f} {cpu * 1000 / runs:.1f} {faults / runs:.0f}")
EOF
}

run_build() {  # name, command...
  local name=$1; shift
  for page in "${pages[@]}"; do
    local wall cpu faults
    read -r wall cpu faults < <(measure "$runs" "$work/$page.jpg" "$work/$page.pcx" "$@")
    printf '%-9s %-8s jpeg %8d B  pcx %9d B  %6.1f ms wall  %6.1f ms cpu  %6d faults per conversion\n' \
      "$name" "$page" "$(stat -c %s "$work/$page.jpg")" "$(stat -c %s "$work/$page.pcx")" "$wall" "$cpu" "$faults"
  done
}

echo "$runs runs each"
run_build x86-64 "$build/converter/nconvert64"
[ -z "$other" ] || run_build other "$other"
if "$build/converter/nconvert32" -help >/dev/null 2>&1; then
  run_build i386 "$build/converter/nconvert32"
elif command -v qemu-i386 >/dev/null; then
  run_build i386-qemu qemu-i386 "$build/converter/nconvert32"
fi
