#!/usr/bin/env bash
# Writes a .docx of exactly PAGES pages with pandoc: each page holds a heading and a few
# paragraphs of text and ends in a hard page break, so the page count does not depend on fonts.
# Usage: bench/make-paged-docx.sh PAGES OUT.docx
set -euo pipefail
[ $# -eq 2 ] && [ "$1" -gt 0 ] 2>/dev/null || { echo "usage: $0 PAGES OUT.docx" >&2; exit 2; }
pages=$1
out=$2
command -v pandoc >/dev/null || { echo "$0: pandoc is missing" >&2; exit 1; }

markdown=$(mktemp --suffix=.md)
trap 'rm -f "$markdown"' EXIT
awk -v pages="$pages" 'BEGIN {
  sentence = "The quick brown fox jumps over the lazy dog near the river bank. "
  for (page = 1; page <= pages; page++) {
    printf "# Page %d\n\n", page
    for (paragraph = 1; paragraph <= 4; paragraph++) {
      printf "Paragraph %d of page %d. ", paragraph, page
      for (i = 0; i < 6; i++) printf "%s", sentence
      printf "\n\n"
    }
    if (page < pages) printf "```{=openxml}\n<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>\n```\n\n"
  }
}' >"$markdown"
pandoc --from markdown --to docx -o "$out" "$markdown"
