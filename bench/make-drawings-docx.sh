#!/usr/bin/env bash
# Writes a .docx of PAGES pages, each with a heading, a drawing (a generated picture), a small
# table and a paragraph, ending in a hard page break.
# Usage: bench/make-drawings-docx.sh PAGES OUT.docx
set -euo pipefail
[ $# -eq 2 ] && [ "$1" -gt 0 ] 2>/dev/null || { echo "usage: $0 PAGES OUT.docx" >&2; exit 2; }
pages=$1
out=$(realpath -m "$2")
command -v pandoc >/dev/null || { echo "$0: pandoc is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# ImageMagick by its Debian path: another "convert" may come first in PATH.
/usr/bin/convert -size 900x600 gradient:skyblue-navy \
  -fill orange -draw 'circle 450,300 450,120' -fill white -draw 'rectangle 80,80 300,200' "$work/drawing.png"
awk -v pages="$pages" 'BEGIN {
  for (page = 1; page <= pages; page++) {
    printf "# Chapter %d\n\n![Figure %d](drawing.png){width=14cm}\n\n", page, page
    printf "| Item | Count | Note |\n|---|---|---|\n| north | %d | measured |\n| south | %d | estimated |\n\n", page * 3, page * 7
    printf "The figure above shows the layout of chapter %d; the table gives the counts. ", page
    printf "Text follows the drawing so that the page holds words as well as pictures.\n\n"
    if (page < pages) printf "```{=openxml}\n<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>\n```\n\n"
  }
}' >"$work/doc.md"
(cd "$work" && pandoc --from markdown --to docx -o "$out" doc.md)
