#!/usr/bin/env bash
# Times Marrowdale against what a user would run instead, side by side in one run:
#   marrowdale   build/bin/marrowdale-batch --out DIR DOC
#   pipeline     soffice --convert-to pdf, pdftoppm -r 150, ImageMagick convert of every page to PCX
#   floor        the engine alone: host start, open, layout and rendering of every page
# Usage: bench/compare.sh DOC...
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${MARROWDALE_BIN:-$here/build/bin}
[ $# -gt 0 ] || { echo "usage: $0 DOC..." >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache TMPDIR=$work/tmp TEMP=$work/tmp
mkdir -p "$HOME" "$TMPDIR"

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# Warm the engines once so the first document does not pay for profile creation.
soffice --headless -env:UserInstallation=file://$work/lo --terminate_after_init >/dev/null 2>&1 || true
"$bin/marrowdale-wordhost" --render "$1" "$work/warm" >/dev/null 2>&1 || true

printf '%-40s %6s %9s %9s %9s %7s %7s\n' document pages marrowdale pipeline floor m/pipe m/floor
for doc in "$@"; do
  name=$(basename "$doc")
  rm -rf "$work/out" "$work/pipe" "$work/floor"; mkdir -p "$work/out" "$work/pipe" "$work/floor"

  t0=$(now)
  "$bin/marrowdale-batch" --out "$work/out" "$doc" >/dev/null 2>"$work/batch.err" || true
  t1=$(now)
  pages=$(find "$work/out" -name '*.pcx' | wc -l)

  t2=$(now)
  soffice --headless -env:UserInstallation=file://$work/lo --convert-to pdf --outdir "$work/pipe" "$doc" >/dev/null 2>&1
  pdftoppm -r 150 "$work/pipe/${name%.*}.pdf" "$work/pipe/page"
  for ppm in "$work/pipe"/page*.ppm; do convert "$ppm" "${ppm%.ppm}.pcx"; done
  t3=$(now)

  t4=$(now)
  "$bin/marrowdale-wordhost" --render "$doc" - >/dev/null
  t5=$(now)

  m=$(seconds "$t0" "$t1"); p=$(seconds "$t2" "$t3"); f=$(seconds "$t4" "$t5")
  printf '%-40s %6s %9s %9s %9s %7s %7s\n' "$name" "$pages" "$m" "$p" "$f" "$(ratio "$m" "$p")" "$(ratio "$m" "$f")"
done
