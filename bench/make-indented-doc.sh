#!/usr/bin/env bash
# Writes a document of about PAGES Letter pages whose paragraphs carry negative indents in every
# way Word knows: direct left and right indents, a paragraph style, a numbered list's level, and
# paragraphs in table cells. The text flows freely (no page breaks), so repairing the indents
# changes the page count. OUT ending in .doc (or .rtf, .odt) is converted by the office suite
# from the .docx written first.
# --at-zero writes the same document with all those indents at 0: the layout a repair must give.
# Usage: bench/make-indented-doc.sh PAGES OUT.docx|OUT.doc [--at-zero]
set -euo pipefail
[ $# -ge 2 ] && [ "$1" -gt 0 ] 2>/dev/null || { echo "usage: $0 PAGES OUT.docx|OUT.doc [--at-zero]" >&2; exit 2; }
pages=$1
out=$2
at_zero=${3:-}
python=/usr/bin/python3
soffice=${SOFFICE:-/usr/bin/soffice}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
docx="$work/indented.docx"

"$python" - "$pages" "$docx" "$at_zero" <<'PY'
import re, sys, zipfile
pages, path, at_zero = int(sys.argv[1]), sys.argv[2], sys.argv[3] == "--at-zero"
W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
sentence = "The quick brown fox jumps over the lazy dog near the river bank. "

def para(text, ppr=""):
    return f'<w:p><w:pPr>{ppr}</w:pPr><w:r><w:t xml:space="preserve">{text}</w:t></w:r></w:p>'

def block(n):
    text = lambda what: f"{what} {n}. " + sentence * 5
    cell_indent = '<w:ind w:left="-300" w:right="-300"/>'
    cell = lambda t: ('<w:tc><w:tcPr><w:tcW w:w="4500" w:type="dxa"/></w:tcPr>'
                      + para(t, cell_indent) + '</w:tc>')
    return "".join([
        para(f"Section {n}", '<w:pStyle w:val="Heading1"/>'),
        para(text("Left indent below zero"), '<w:ind w:left="-720"/>'),
        para(text("Right indent below zero"), '<w:ind w:right="-720"/>'),
        para(text("Both indents from the paragraph style"), '<w:pStyle w:val="Outdented"/>'),
        para(text("Numbered item"), '<w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr>'),
        para(text("Another numbered item"), '<w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr>'),
        '<w:tbl><w:tblPr><w:tblW w:w="9000" w:type="dxa"/><w:tblBorders>'
        '<w:top w:val="single" w:sz="4"/><w:left w:val="single" w:sz="4"/><w:bottom w:val="single" w:sz="4"/>'
        '<w:right w:val="single" w:sz="4"/><w:insideH w:val="single" w:sz="4"/><w:insideV w:val="single" w:sz="4"/>'
        '</w:tblBorders></w:tblPr><w:tblGrid><w:gridCol w:w="4500"/><w:gridCol w:w="4500"/></w:tblGrid>'
        f'<w:tr>{cell("Cell one of table " + str(n) + ". " + sentence)}{cell("Cell two. " + sentence)}</w:tr></w:tbl>',
        para(text("Plain paragraph")),
    ])

blocks = max(1, round(pages * 1.55))  # about 1.55 blocks fill a page at zero indents
body = "".join(block(n + 1) for n in range(blocks))
document = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:document {W}><w:body>{body}'
            '<w:sectPr><w:pgSz w:w="12240" w:h="15840"/>'
            '<w:pgMar w:top="1440" w:right="1440" w:bottom="1440" w:left="1440" w:header="720" w:footer="720" w:gutter="0"/>'
            '</w:sectPr></w:body></w:document>')
styles = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:styles {W}>'
          '<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="Liberation Serif" w:hAnsi="Liberation Serif"/>'
          '<w:sz w:val="24"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after="120"/></w:pPr></w:pPrDefault></w:docDefaults>'
          '<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>'
          '<w:style w:type="paragraph" w:styleId="Heading1"><w:name w:val="heading 1"/><w:basedOn w:val="Normal"/>'
          '<w:pPr><w:keepNext/><w:spacing w:before="240"/></w:pPr><w:rPr><w:b/><w:sz w:val="32"/></w:rPr></w:style>'
          '<w:style w:type="paragraph" w:styleId="Outdented"><w:name w:val="Outdented"/><w:basedOn w:val="Normal"/>'
          '<w:pPr><w:ind w:left="-540" w:right="-540"/></w:pPr></w:style></w:styles>')
numbering = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:numbering {W}>'
             '<w:abstractNum w:abstractNumId="0"><w:lvl w:ilvl="0"><w:start w:val="1"/><w:numFmt w:val="decimal"/>'
             '<w:lvlText w:val="%1."/><w:lvlJc w:val="left"/><w:pPr><w:ind w:left="-360" w:hanging="360"/></w:pPr></w:lvl>'
             '</w:abstractNum><w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num></w:numbering>')
ct = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
      '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
      '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
      '<Default Extension="xml" ContentType="application/xml"/>'
      '<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
      '<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>'
      '<Override PartName="/word/numbering.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.numbering+xml"/>'
      '</Types>')
rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>'
        '</Relationships>')
docrels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
           '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
           '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>'
           '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/numbering" Target="numbering.xml"/>'
           '</Relationships>')
if at_zero:
    document, styles, numbering = (re.sub(r'"-[0-9]+"', '"0"', part) for part in (document, styles, numbering))
with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("[Content_Types].xml", ct)
    z.writestr("_rels/.rels", rels)
    z.writestr("word/_rels/document.xml.rels", docrels)
    z.writestr("word/document.xml", document)
    z.writestr("word/styles.xml", styles)
    z.writestr("word/numbering.xml", numbering)
PY

case "$out" in
  *.docx) cp "$docx" "$out" ;;
  *.*)
    format=${out##*.}
    # A profile of its own: another office running for the same user must not take the job.
    "$soffice" -env:UserInstallation="file://$work/profile" --headless --convert-to "$format" \
      --outdir "$work" "$docx" >/dev/null
    cp "$work/indented.$format" "$out"
    ;;
  *) echo "$0: OUT needs an extension" >&2; exit 2 ;;
esac
