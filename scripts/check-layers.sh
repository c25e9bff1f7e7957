#!/usr/bin/env bash
# Fails when a folder includes one of a higher layer (see ARCHITECTURE.md), listing each such
# include as "file: included header". Checks the tree at $1, or the one this script is in.
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

# What each program folder may include besides itself.
declare -A allowed=(
  [shared]=""
  [protocol]="shared"
  [platform]="shared protocol"
  [wordclient]="shared protocol platform"
  [fsutil]="shared protocol platform"
  [errorreport]="shared protocol platform"
  [conversion]="shared protocol platform wordclient fsutil errorreport"
  [filelist]="shared protocol platform fsutil errorreport"
  [mainwindow]="shared protocol platform wordclient fsutil errorreport conversion filelist resources"
  [app]="shared protocol platform wordclient fsutil errorreport conversion filelist mainwindow resources"
  [wordhost]="shared protocol"
  [nconvert]="shared"
  [resources]=""
)

folderOf() {
  case "$1" in
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

failures=0
while IFS= read -r -d '' file; do
  from=$(folderOf "$file")
  [ -n "${allowed[$from]+set}" ] || continue  # tests/, bench/, fuzz/ and the rest may include anything
  while IFS= read -r header; do
    to=$(folderOf "$header")
    [ -n "$to" ] || continue                    # a header beside the file
    [ "$to" = "$from" ] && continue
    if [ -z "${allowed[$to]+set}" ] && [ "$to" != tests ] && [ "$to" != bench ] && [ "$to" != fuzz ]; then continue; fi
    case " ${allowed[$from]} " in *" $to "*) continue ;; esac
    echo "$file: $header"
    failures=$((failures + 1))
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . -path ./build -prune -o -path './build-*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
         sed -z 's|^\./||')
if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) against the layers (ARCHITECTURE.md)." >&2
  exit 1
fi
