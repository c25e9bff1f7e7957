#!/usr/bin/env bash
# Lists every C++ file that differs from .clang-format, and fails when there is one.
# Uses Debian's clang-format (scripts/install-deps.sh), so every machine formats alike.
set -euo pipefail
cd "$(dirname "$0")/.."
differing=()
while IFS= read -r -d '' file; do
  if ! clang-format --style=file "$file" | cmp -s - "$file"; then differing+=("$file"); fi
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ ${#differing[@]} -gt 0 ]; then
  printf '%s\n' "${differing[@]}"
  echo "${#differing[@]} file(s) differ from .clang-format (clang-format -i FILE formats one)." >&2
  exit 1
fi
