#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the program folder, the link, the desktop
# entry, and that the installed program and engine run from there.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
export HOME=$prefix/home XDG_CONFIG_HOME=$prefix/home/.config XDG_RUNTIME_DIR=$prefix/run TEMP=$prefix/tmp TMPDIR=$prefix/tmp
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$TEMP"; chmod 700 "$XDG_RUNTIME_DIR"

cmake --install "$build" --prefix "$prefix" >/dev/null
folder=$prefix/lib/marrowdale
for f in marrowdale marrowdale-wordhost x/o.cjs HAND-M.CUR drag.ico Samples/Sample-Letter.docx; do
  [ -e "$folder/$f" ] || { echo "missing from the program folder: $f"; exit 1; }
done
[ "$(readlink -f "$prefix/bin/marrowdale")" = "$(readlink -f "$folder/marrowdale")" ] || { echo "bin/marrowdale is no link to the program"; exit 1; }
grep -qx 'Exec=marrowdale' "$prefix/share/applications/marrowdale.desktop" || { echo "desktop entry"; exit 1; }
grep -qx 'Icon=marrowdale' "$prefix/share/applications/marrowdale.desktop" || { echo "desktop entry icon"; exit 1; }
[ -s "$prefix/share/icons/hicolor/64x64/apps/marrowdale.png" ] || { echo "no menu icon"; exit 1; }

# The installed engine lays out an installed sample.
pages=$("$folder/marrowdale-wordhost" --render "$folder/Samples/Sample-Letter.docx" "$prefix/pages" | tail -n 1)
[ "$pages" = 1 ] || { echo "the installed engine answered: $pages"; exit 1; }

# Started through the link, the program finds its folder and stays up until it is closed.
status=0
QT_QPA_PLATFORM=offscreen timeout 10 "$prefix/bin/marrowdale" >/dev/null 2>&1 || status=$?
[ "$status" = 124 ] || { echo "the installed program ended by itself with status $status"; exit 1; }
echo "install ok"
