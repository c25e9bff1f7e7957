#!/usr/bin/env bash
# Makes the sample documents of "Load Sample/Example Files" from the sources beside this script:
# Sample-Letter.docx (one page), Sample-Memo.doc (Word 97-2003) and Sample-Report.docx (several
# pages with headings, a table and a picture). Needs pandoc, LibreOffice and ImageMagick.
# The generated documents are kept in the repository, so a build never runs this.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1491350400  # fixed document dates: the same sources give the same files

# The picture of the report: monthly harvest as a bar chart, drawn here.
chart="$work/chart.png"
months=(Aug Sep Oct)
tonnes=(96 241 155)
draw=()
for i in 0 1 2; do
  x0=$((110 + i * 170)); x1=$((x0 + 110))
  h=$((tonnes[i]))
  y0=$((330 - h))
  draw+=(-fill '#3b6e8f' -draw "rectangle $x0,$y0 $x1,330")
  draw+=(-fill black -draw "text $((x0 + 35)),355 '${months[i]}'")
  draw+=(-fill black -draw "text $((x0 + 38)),$((y0 - 10)) '${tonnes[i]}'")
done
convert -size 640x380 xc:white -font DejaVu-Sans -pointsize 18 \
  -stroke '#555555' -draw 'line 80,330 600,330' -draw 'line 80,40 80,330' -stroke none \
  -fill black -draw "text 200,28 'Harvest by month (tonnes)'" \
  "${draw[@]}" -strip "$chart"

cd "$here/sources"
pandoc letter.md -o "$here/Sample-Letter.docx"
pandoc report.md --resource-path="$work" -o "$here/Sample-Report.docx"
pandoc memo.md -o "$work/Sample-Memo.docx"
soffice -env:UserInstallation="file://$work/profile" --headless --convert-to doc \
  --outdir "$here" "$work/Sample-Memo.docx" >/dev/null
ls -l "$here"/Sample-*
