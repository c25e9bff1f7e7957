#!/usr/bin/env bash
# Compares the host's page count with the one Word stored, for every Word-saved document below DIR:
#   .docx .docm .dotx .dotm  docProps/app.xml <Pages>, where <Application> names Word and the core
#                            properties carry the revision Word writes at every save (pandoc and
#                            other generators copy a Word app.xml that says 1 page, but no revision)
#   .doc .dot                the SummaryInformation page count, where its application names Word
# Prints one line per such document (Word's count, the host's, agree or DIFF) and a summary:
#   N of M Word-saved documents agree with Word's page count (K other documents skipped)
# The host's count is the one the conversion reads (marrowdale-wordhost --pages: one engine for all,
# no page drawn). Exit status: 0 when every Word-saved document agrees, 1 otherwise.
# Usage: bench/word-pages.sh DIR
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin=${MARROWDALE_BIN:-$here/build/bin}
[ $# -eq 1 ] && [ -d "$1" ] || { echo "usage: $0 DIR" >&2; exit 2; }
[ -x "$bin/marrowdale-wordhost" ] || { echo "$0: build first: $bin/marrowdale-wordhost is missing" >&2; exit 2; }
python=/usr/bin/python3  # Debian's, with python3-olefile
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "PAGES<tab>PATH" per Word-saved document; the others are counted in $work/skipped.
find "$1" -type f -regextype posix-extended -iregex '.*\.(docx|docm|dotx|dotm|doc|dot)' -print0 | LC_ALL=C sort -z |
  "$python" -c '
import re, sys, zipfile
import olefile

def ooxml_pages(path):
    with zipfile.ZipFile(path) as package:
        names = set(package.namelist())
        if "docProps/app.xml" not in names or "docProps/core.xml" not in names:
            return None
        app = package.read("docProps/app.xml").decode("utf-8", "replace")
        core = package.read("docProps/core.xml").decode("utf-8", "replace")
    application = re.search(r"<(?:\w+:)?Application>([^<]*)<", app)
    pages = re.search(r"<(?:\w+:)?Pages>\s*(\d+)\s*<", app)
    if not application or "Word" not in application.group(1) or not pages:
        return None
    if not re.search(r"<cp:revision>\s*\d+", core):
        return None
    return int(pages.group(1))

def ole_pages(path):
    if not olefile.isOleFile(path):
        return None
    with olefile.OleFileIO(path) as storage:
        meta = storage.get_metadata()
    application = (meta.creating_application or b"").decode("latin-1")
    if "Word" not in application or not meta.num_pages:
        return None
    return int(meta.num_pages)

skipped = 0
for path in sys.stdin.buffer.read().split(b"\0"):
    if not path:
        continue
    name = path.decode("utf-8", "surrogateescape")
    try:
        pages = ole_pages(name) if name.lower().endswith((".doc", ".dot")) else ooxml_pages(name)
    except Exception:
        pages = None
    if pages is None:
        skipped += 1
    else:
        print(f"{pages}\t{name}")
open(sys.argv[1], "w").write(str(skipped))
' "$work/skipped" >"$work/word"

total=$(wc -l <"$work/word")
if [ "$total" -gt 0 ]; then
  cut -f2- "$work/word" | tr '\n' '\0' | xargs -0 env QT_QPA_PLATFORM=offscreen "$bin/marrowdale-wordhost" --pages \
    >"$work/host" 2>/dev/null
fi
touch "$work/host"

agree=0
while IFS=$'\t' read -r word doc; do
  host=$(awk -F'\t' -v d="$doc" '$2 == d { print ($1 == "error" ? "error" : $1); exit }' "$work/host")
  host=${host:-none}
  if [ "$host" = "$word" ]; then verdict=agree; agree=$((agree + 1)); else verdict=DIFF; fi
  printf 'word %4s  host %5s  %-5s  %s\n' "$word" "$host" "$verdict" "${doc#"$1"/}"
done <"$work/word"

echo "$agree of $total Word-saved documents agree with Word's page count ($(cat "$work/skipped") other documents skipped)"
[ "$agree" -eq "$total" ]
