#!/usr/bin/env bash
# Fails when a C++ file of the tree does not follow .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/gr-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/gr-format.$$ | cut -d: -f1 | sort -u | sed 's/^/unformatted: /'
  rm -f /tmp/gr-format.$$
  echo "run: clang-format -i \$(git ls-files '*.cpp' '*.h')" >&2
  exit 1
fi
rm -f /tmp/gr-format.$$
echo "format: ${#files[@]} files follow .clang-format"
