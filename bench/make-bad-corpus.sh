#!/usr/bin/env bash
# Makes a corpus of bad inputs for bench/corpus.sh: damaged, hostile, protected, unreadable and
# very long documents, a folder with a document's name, and good documents under awkward names.
# Every file is made by this script; run it again to get the same corpus.
# Usage: bench/make-bad-corpus.sh OUTDIR [--large-mb N]   (N: size of the text of large.docx, 50)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 OUTDIR [--large-mb N]" >&2; exit 2; }
out=$1
large_mb=50
if [ "${2:-}" = --large-mb ]; then large_mb=${3:?}; fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
# Earlier runs may have left unreadable files.
chmod -R u+rwX "$out" 2>/dev/null || true
find "$out" -mindepth 1 -delete

# A good two-page document: the base of the damaged ones and of the awkward names.
good=$out/good.docx
"$here/make-paged-docx.sh" 2 "$good"

# Empty, random, damaged, nested 100,000 deep, very large.
: >"$out/empty.docx"
/usr/bin/python3 "$here/write_bad_packages.py" "$good" "$out" "$large_mb"

# Not a file at all: a folder and a link to nowhere.
mkdir "$out/x.docx"
ln -s "$out/no such document.docx" "$out/dangling.docx"

# Protected by a password ("pw"), written by the office suite itself.
/usr/bin/python3 "$source_dir/tests/wordhost/make_encrypted_documents.py" "$good" "$out"

# Not readable by its user (root reads it anyway: bench/corpus.sh runs as nobody then).
cp "$good" "$out/unreadable.docx"
chmod 000 "$out/unreadable.docx"

# Long: 1,000 pages.
"$here/make-paged-docx.sh" 1000 "$out/thousand pages.docx"

# Awkward names, each a copy of the good document.
for name in 'with blanks.docx' "it's \"quoted\".docx" '$(touch INJECTED).docx' '`touch INJECTED2`.docx' \
  '-leading dash.docx' '--out.docx' 'back\slash.docx' 'Überprüfung Ελληνικά 日本語.docx' \
  'UPPER CASE.DOCX' 'two.dots.docx' 'semi;colon&amp.docx'; do
  cp "$good" "$out/$name"
done

find "$out" -mindepth 1 -maxdepth 1 -printf '%M %10s %f\n' | sort -k3
