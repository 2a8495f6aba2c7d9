#!/usr/bin/env bash
# Two `grtool new` of one folder at once: exactly one makes the project, the
# other is refused with a clear message, and the project is whole.
#
#   tests/host/cli/concurrent-new.sh GRTOOL [ROUNDS]      (ROUNDS: 10 by default)
set -euo pipefail
grtool=$1
rounds=${2:-10}
work=$(mktemp -d "${TMPDIR:-/tmp}/gr-concurrent-new-XXXXXX")
trap 'rm -rf "$work"' EXIT
project=$work/P

failures=0
fail() {
  echo "round $round: $*" >&2
  failures=$((failures + 1))
}

locked=0 existing=0
for ((round = 1; round <= rounds; round++)); do
  "$grtool" new "$project" --name First >"$work/out1" 2>&1 &
  first=$!
  "$grtool" new "$project" --name Second >"$work/out2" 2>&1 &
  second=$!
  status1=0 status2=0 winner=
  wait "$first" || status1=$?
  wait "$second" || status2=$?

  if [ $((status1 == 0)) -eq $((status2 == 0)) ]; then
    fail "exit codes $status1 and $status2, not one success and one refusal"
  else
    if [ "$status1" -eq 0 ]; then winner=First loser=2; else winner=Second loser=1; fi
    refused=$(cat "$work/out$loser")
    case "$refused" in
      *"another grtool is making it right now."*) locked=$((locked + 1)) ;;
      *"the folder holds a project already."*) existing=$((existing + 1)) ;;
      *) fail "the refusal says: $refused" ;;
    esac
  fi
  pointer=$("$grtool" dump "$project" --class CurrentDgrPointer --json 2>&1) || true
  [[ $pointer =~ \"graphDiagram\":\[[0-9]+\] ]] || fail "the project is not whole: $pointer"
  names=$("$grtool" dump "$project" --class Project 2>&1 | grep -o 'name = ".*"' || true)
  [ "$names" = "name = \"${winner:-}\"" ] || fail "the project is named $names, not ${winner:-}"
  leftovers=$(find "$work" -maxdepth 1 -name '.P.*' | wc -l)
  [ "$leftovers" -eq 0 ] || fail "$leftovers hidden files are left beside the project"
  rm -rf "$project"
done

echo "concurrent-new: $rounds rounds: the late one found the first making it $locked times" \
  "and the project made $existing times; $failures failures"
[ "$failures" -eq 0 ]
