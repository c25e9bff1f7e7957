#!/usr/bin/python3
"""Writes the damaged and hostile packages of the bad-input corpus, from one good .docx.

write_bad_packages.py GOOD.docx OUTDIR [LARGE_MB]

random.docx, random.doc   random bytes (seeded, so every run writes the same corpus)
ole-garbage.doc           a compound-file signature followed by random bytes
zip-garbage.docx          a zip signature followed by random bytes
truncated.docx            the first half of GOOD.docx
deep.docx                 GOOD.docx whose body nests 100,000 elements deep
large.docx                GOOD.docx whose body holds LARGE_MB (default 50) MB of text
"""
import os
import random
import sys
import zipfile

W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
DEPTH = 100_000


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def with_body(good, path, body_chunks):
    """Copies the package of `good` with a new word/document.xml made of the given chunks."""
    with zipfile.ZipFile(good) as source, zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as target:
        for item in source.infolist():
            if item.filename == "word/document.xml":
                continue
            target.writestr(item, source.read(item.filename))
        with target.open("word/document.xml", "w", force_zip64=True) as document:
            document.write(('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                            '<w:document xmlns:w="%s"><w:body>' % W).encode())
            for chunk in body_chunks:
                document.write(chunk)
            document.write(b'<w:sectPr/></w:body></w:document>')


def deep_body():
    yield b'<w:customXml w:element="level">' * DEPTH
    yield b'<w:p><w:r><w:t>One paragraph 100,000 elements deep.</w:t></w:r></w:p>'
    yield b'</w:customXml>' * DEPTH


def large_body(megabytes):
    rng = random.Random(7)
    words = ["alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel", "india", "juliett"]
    written = 0
    while written < megabytes * 1024 * 1024:
        text = " ".join(rng.choice(words) for _ in range(2000))
        chunk = ('<w:p><w:r><w:t>%s</w:t></w:r></w:p>' % text).encode()
        written += len(chunk)
        yield chunk


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    good, outdir = sys.argv[1], sys.argv[2]
    large_mb = int(sys.argv[3]) if len(sys.argv) == 4 else 50
    rng = random.Random(1)
    noise = bytes(rng.randrange(256) for _ in range(64 * 1024))
    write(os.path.join(outdir, "random.docx"), noise)
    write(os.path.join(outdir, "random.doc"), noise[::-1])
    write(os.path.join(outdir, "ole-garbage.doc"), bytes.fromhex("D0CF11E0A1B11AE1") + noise)
    write(os.path.join(outdir, "zip-garbage.docx"), b"PK\x03\x04" + noise)
    with open(good, "rb") as f:
        whole = f.read()
    write(os.path.join(outdir, "truncated.docx"), whole[: len(whole) // 2])
    with_body(good, os.path.join(outdir, "deep.docx"), deep_body())
    with_body(good, os.path.join(outdir, "large.docx"), large_body(large_mb))


main()
