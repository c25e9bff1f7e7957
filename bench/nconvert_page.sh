#!/usr/bin/env bash
# Times one JPEG -> PCX conversion of a 1275x1650 (8.5x11 in at 150 dpi) page, quality 100,
# for both converter builds: a text page (mostly white) and a photo-like page (worst case for
# run-length encoding). Prints the mean wall and CPU time per conversion (the machine may be
# shared, so CPU time is the steadier figure).
# Usage: bench/nconvert_page.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 1275x1650 xc:white -fill black -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 18 \
  $(for i in $(seq 1 60); do printf -- '-annotate +100+%d Line_%d_of_a_page_of_text_with_words_in_it ' $((80 + i * 25)) "$i"; done) \
  -quality 100 "$work/text.jpg"
convert -size 1275x1650 gradient:white-navy -attenuate 0.3 +noise Gaussian -quality 100 "$work/photo.jpg"

run_build() {  # name, command...
  local name=$1; shift
  for page in text photo; do
    local TIMEFORMAT='%R %U %S' timing wall cpu
    timing=$( { time for _ in $(seq 1 "$runs"); do
                  "$@" -out pcx -c 1 -o "$work/$page.pcx" "$work/$page.jpg" >/dev/null
                done; } 2>&1 )
    read -r wall user sys <<<"$timing"
    cpu=$(echo "$user + $sys" | bc -l)
    printf '%-9s %-6s jpeg %8d B  pcx %9d B  %7.1f ms wall  %7.1f ms cpu per conversion\n' "$name" "$page" \
      "$(stat -c %s "$work/$page.jpg")" "$(stat -c %s "$work/$page.pcx")" \
      "$(echo "$wall * 1000 / $runs" | bc -l)" "$(echo "$cpu * 1000 / $runs" | bc -l)"
  done
}

run_build x86-64 "$build/converter/nconvert64"
if "$build/converter/nconvert32" -help >/dev/null 2>&1; then
  run_build i386 "$build/converter/nconvert32"
elif command -v qemu-i386 >/dev/null; then
  run_build i386-qemu qemu-i386 "$build/converter/nconvert32"
fi
