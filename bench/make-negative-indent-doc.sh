#!/usr/bin/env bash
# Writes a document of PAGES pages whose body paragraphs all have negative left and right
# indents (-1 cm), so every page needs the indent repair. OUT ending in .doc gives the Word 97
# format (converted by soffice), anything else a .docx.
# Usage: bench/make-negative-indent-doc.sh PAGES OUT.docx|OUT.doc
set -euo pipefail
[ $# -eq 2 ] && [ "$1" -gt 0 ] 2>/dev/null || { echo "usage: $0 PAGES OUT.docx|OUT.doc" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
pages=$1
out=$(realpath -m "$2")
command -v zip >/dev/null || { echo "$0: zip is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$here/make-paged-docx.sh" "$pages" "$work/plain.docx"
mkdir "$work/x"
(cd "$work/x" && unzip -q ../plain.docx)
# -567 twips is -1 cm on both sides of every body paragraph.
sed -i 's#<w:pStyle w:val="\(BodyText\|FirstParagraph\)" />#&<w:ind w:left="-567" w:right="-567" />#g' \
  "$work/x/word/document.xml"
grep -q 'w:left="-567"' "$work/x/word/document.xml" || { echo "$0: no paragraph was indented" >&2; exit 1; }
(cd "$work/x" && zip -q -X -r ../indented.docx '[Content_Types].xml' . -x '[Content_Types].xml')

case "$out" in
  *.doc)
    soffice --headless -env:UserInstallation="file://$work/lo" --convert-to doc:"MS Word 97" \
      --outdir "$work" "$work/indented.docx" >/dev/null 2>&1
    mv "$work/indented.doc" "$out" ;;
  *) mv "$work/indented.docx" "$out" ;;
esac
