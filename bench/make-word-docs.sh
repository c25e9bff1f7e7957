#!/usr/bin/env bash
# Writes into OUTDIR small documents of the kinds the engine once laid out or opened unlike Word,
# each with the page count Word gives it stored the way Word stores it (docProps/app.xml <Pages>,
# core properties with a revision), so bench/word-pages.sh can check them. The pages are fixed by
# hard page breaks and short text, so the stored count holds whatever the fonts:
#   template.dotx, template.dotm   Word templates, 3 pages
#   endnotes.docx                  2 pages, the endnotes run on after the last paragraph of page 2
#   comments.docx                  2 pages with comments (no icons on the pages)
#   template.dot                   a Word 97 template written by the office suite from template.dotx
#                                  (no count of Word's: word-pages.sh skips it, bench/corpus.sh not)
# Usage: bench/make-word-docs.sh OUTDIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 OUTDIR" >&2; exit 2; }
out=$(realpath -m "$1")
mkdir -p "$out"
python=/usr/bin/python3
soffice=${SOFFICE:-/usr/bin/soffice}

"$python" - "$out" <<'PY'
import sys, zipfile
out = sys.argv[1]
W = ('xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
     'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"')
PKG = "http://schemas.openxmlformats.org/package/2006"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
CT = "application/vnd.openxmlformats-officedocument.wordprocessingml"
sentence = "The quick brown fox jumps over the lazy dog near the river bank. "

def para(text, runs=""):
    return f'<w:p><w:r><w:t xml:space="preserve">{text}</w:t></w:r>{runs}</w:p>'

PAGE_BREAK = '<w:p><w:r><w:br w:type="page"/></w:r></w:p>'
SECTION = ('<w:sectPr><w:pgSz w:w="12240" w:h="15840"/><w:pgMar w:top="1440" w:right="1440" '
           'w:bottom="1440" w:left="1440" w:header="720" w:footer="720" w:gutter="0"/></w:sectPr>')

def pages(count, extra=lambda page: ""):
    body = []
    for page in range(1, count + 1):
        body += [para(f"Page {page}, paragraph {n}. " + sentence * 3) for n in range(1, 5)]
        body.append(extra(page))
        if page < count:
            body.append(PAGE_BREAK)
    return "".join(body)

def write(name, body, page_count, main=f"{CT}.document.main+xml", parts=()):
    overrides = f'<Override PartName="/word/document.xml" ContentType="{main}"/>'
    overrides += '<Override PartName="/docProps/app.xml" ContentType="application/vnd.openxmlformats-officedocument.extended-properties+xml"/>'
    overrides += '<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>'
    rels = ""
    for i, (part, kind, content_type, _) in enumerate(parts):
        overrides += f'<Override PartName="/word/{part}" ContentType="{content_type}"/>'
        rels += f'<Relationship Id="rP{i}" Type="{REL}/{kind}" Target="{part}"/>'
    with zipfile.ZipFile(f"{out}/{name}", "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   f'<?xml version="1.0" encoding="UTF-8"?><Types xmlns="{PKG}/content-types">'
                   f'<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   f'<Default Extension="xml" ContentType="application/xml"/>{overrides}</Types>')
        z.writestr("_rels/.rels",
                   f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}/relationships">'
                   f'<Relationship Id="rId1" Type="{REL}/officeDocument" Target="word/document.xml"/>'
                   f'<Relationship Id="rId2" Type="{REL}/extended-properties" Target="docProps/app.xml"/>'
                   f'<Relationship Id="rId3" Type="{PKG}/relationships/metadata/core-properties" Target="docProps/core.xml"/>'
                   '</Relationships>')
        z.writestr("word/_rels/document.xml.rels",
                   f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}/relationships">{rels}</Relationships>')
        z.writestr("word/document.xml",
                   f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:document {W}><w:body>{body}{SECTION}</w:body></w:document>')
        for part, _, _, content in parts:
            z.writestr(f"word/{part}", content)
        z.writestr("docProps/app.xml",
                   '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><Properties '
                   'xmlns="http://schemas.openxmlformats.org/officeDocument/2006/extended-properties">'
                   f'<Template>Normal.dotm</Template><Pages>{page_count}</Pages>'
                   '<Application>Microsoft Office Word</Application><AppVersion>16.0000</AppVersion></Properties>')
        z.writestr("docProps/core.xml",
                   '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><cp:coreProperties '
                   f'xmlns:cp="{PKG}/metadata/core-properties" xmlns:dc="http://purl.org/dc/elements/1.1/">'
                   '<dc:creator>Marrowdale bench</dc:creator><cp:lastModifiedBy>Marrowdale bench</cp:lastModifiedBy>'
                   '<cp:revision>2</cp:revision></cp:coreProperties>')

write("template.dotx", pages(3), 3, main=f"{CT}.template.main+xml")
write("template.dotm", pages(3), 3, main="application/vnd.ms-word.template.macroEnabledTemplate.main+xml")

notes = ('<w:endnote w:type="separator" w:id="-1"><w:p><w:r><w:separator/></w:r></w:p></w:endnote>'
         '<w:endnote w:type="continuationSeparator" w:id="0"><w:p><w:r><w:continuationSeparator/></w:r></w:p></w:endnote>'
         + "".join(f'<w:endnote w:id="{n}"><w:p><w:r><w:rPr><w:vertAlign w:val="superscript"/></w:rPr><w:endnoteRef/></w:r>'
                   f'<w:r><w:t xml:space="preserve"> Endnote {n}.</w:t></w:r></w:p></w:endnote>' for n in range(1, 4)))
reference = lambda n: f'<w:r><w:rPr><w:vertAlign w:val="superscript"/></w:rPr><w:endnoteReference w:id="{n}"/></w:r>'
write("endnotes.docx", pages(2, lambda page: "".join(para(f"Noted {n}.", reference(n)) for n in range(1, 4)) if page == 2 else ""), 2,
      parts=[("endnotes.xml", "endnotes", f"{CT}.endnotes+xml",
              f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:endnotes {W}>{notes}</w:endnotes>')])

comments = "".join(f'<w:comment w:id="{n}" w:author="Bench" w:date="2024-01-01T00:00:00Z"><w:p><w:r>'
                   f'<w:t>Comment {n}</w:t></w:r></w:p></w:comment>' for n in range(4))
commented = lambda page: "".join(
    f'<w:p><w:commentRangeStart w:id="{n}"/><w:r><w:t>Commented {n}.</w:t></w:r><w:commentRangeEnd w:id="{n}"/>'
    f'<w:r><w:commentReference w:id="{n}"/></w:r></w:p>' for n in range(2 * (page - 1), 2 * page))
write("comments.docx", pages(2, commented), 2,
      parts=[("comments.xml", "comments", f"{CT}.comments+xml",
              f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?><w:comments {W}>{comments}</w:comments>')])
PY

# The office suite writes the Word 97 template; its own profile keeps the user's untouched.
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
"$soffice" -env:UserInstallation="file://$profile" --headless --convert-to 'dot:MS Word 97 Vorlage' \
  --outdir "$out" "$out/template.dotx" >/dev/null 2>&1
[ -f "$out/template.dot" ] || { echo "$0: the office suite did not write template.dot" >&2; exit 1; }
