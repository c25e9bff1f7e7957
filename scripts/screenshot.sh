#!/usr/bin/env bash
# Makes the README's picture, docs/screenshot.png: the window with the sample documents loaded,
# and beside it the first page of a sample as the converter wrote it (PCX, shown as PNG).
# Builds nothing: run it after ./run.sh or ./test.sh. Needs Xvfb, openbox, xdotool, ImageMagick.
#   scripts/screenshot.sh [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
bin=build/bin
magick=/usr/bin/convert  # ImageMagick's, whatever else PATH holds
for tool in Xvfb openbox xdotool /usr/bin/import "$magick" "$bin/marrowdale" "$bin/marrowdale-batch"; do
  command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing (./run.sh installs and builds)" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A home of its own: no stored output folder, nothing of the user's touched.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
mkdir -p "$HOME/Desktop" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

# Xvfb picks a free display and tells it on fd 3.
Xvfb -displayfd 3 -screen 0 1100x760x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The first page of the report sample, converted as the program converts it.
mkdir -p "$work/pages"
QT_QPA_PLATFORM=offscreen "$bin/marrowdale-batch" --out "$work/pages" "$bin/Samples/Sample-Report.docx" >/dev/null
"$magick" "$work/pages/Sample-Report_1.pcx" "$work/page.png"

"$bin/marrowdale" >/dev/null 2>&1 &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --name '^Marrowdale$' | head -n 1)
xdotool windowactivate --sync "$window"
sleep 1
# The keyboard alone: Tab from the list to "Load Sample/Example Files", press it, answer No.
xdotool key --window "$window" --delay 120 Tab Tab Tab Tab Tab space
sleep 1.5
xdotool key --delay 120 Escape
sleep 1

/usr/bin/import -silent -window "$window" -frame "$work/window.png"
height=$("$magick" identify -format '%h' "$work/window.png" 2>/dev/null || identify -format '%h' "$work/window.png")
"$magick" "$work/page.png" -resize "x${height}" -bordercolor '#9aa4b1' -border 1 "$work/page-small.png"
mkdir -p "$(dirname "$out")"
"$magick" "$work/window.png" -size "16x${height}" xc:'#e4e8ee' "$work/page-small.png" -background '#e4e8ee' \
  -gravity center +append -bordercolor '#e4e8ee' -border 16 -strip "$out"
echo "$out"
