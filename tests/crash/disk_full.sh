#!/usr/bin/env bash
# With the files limited as on a full disk, a play stops at the first gesture
# that can not be saved, says so, exits non-zero, and leaves a project that
# opens with what was saved before.
#
#   disk_full.sh GRTOOL SCRIPT
set -euo pipefail

grtool=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$grtool" new "$work/p" >/dev/null
size_kb=$(($(du -k "$work/p/project.db" | cut -f1) + 24))
set +e
(ulimit -f "$size_kb" && "$grtool" play "$work/p" "$script") >"$work/out.txt" 2>"$work/err.txt"
status=$?
set -e
fail() {
  echo "disk full: $1" >&2
  cat "$work/err.txt" >&2
  exit 1
}
[ "$status" -ne 0 ] || fail "the play exited 0"
grep -q "were not saved" "$work/err.txt" || fail "no message says what was not saved"
if grep -q ": played" "$work/out.txt"; then fail "the play said it played"; fi
"$grtool" dump "$work/p" >/dev/null 2>"$work/dump.txt" || fail "the project does not open: $(cat "$work/dump.txt")"
echo "disk full: the play stopped with: $(cut -c1-160 "$work/err.txt" | head -1)"
