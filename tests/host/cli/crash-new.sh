#!/usr/bin/env bash
# Kills `grtool new` with SIGKILL at random moments and checks what each kill
# left: no project, or a whole one that opens and dumps its start-up's
# current diagram. After a kill that left no project, the project must be
# made again at once, with nothing of the interrupted making left over.
#
#   tests/host/cli/crash-new.sh GRTOOL [KILLS]      (KILLS: 1000 by default)
set -euo pipefail
grtool=$1
kills=${2:-1000}
work=$(mktemp -d "${TMPDIR:-/tmp}/gr-crash-new-XXXXXX")
trap 'rm -rf "$work"' EXIT
project=$work/P

microseconds() { echo $(($(date +%s%N) / 1000)); }
seconds() { printf '%d.%06d' $(($1 / 1000000)) $(($1 % 1000000)); }

# Three undisturbed makings set the span the kills are spread over: half as
# long again as one making takes, so that some kills come after the end.
start=$(microseconds)
for try in 1 2 3; do "$grtool" new "$work/timed-$try" >/dev/null; done
span=$((($(microseconds) - start) / 2 + 1))

failures=0
fail() {
  echo "kill $i after $(seconds "$delay") s: $*" >&2
  failures=$((failures + 1))
}

is_whole() {
  local pointer
  pointer=$("$grtool" dump "$project" --class CurrentDgrPointer --json 2>&1) &&
    [[ $pointer =~ \"graphDiagram\":\[[0-9]+\] ]]
}

# Work folders of interrupted makings, and with LOCK also their lock file.
leftovers() { find "$work" -maxdepth 1 -name ".P.grtool-new${1:--}*" | wc -l; }

none=0 whole=0 finished=0
for ((i = 1; i <= kills; i++)); do
  delay=$(((RANDOM * 32768 + RANDOM) % span))
  "$grtool" new "$project" >/dev/null 2>&1 &
  pid=$!
  sleep "$(seconds "$delay")"
  kill -KILL "$pid" 2>/dev/null || true
  if wait "$pid" 2>/dev/null; then finished=$((finished + 1)); fi

  if [ -e "$project" ]; then
    if is_whole; then whole=$((whole + 1)); else fail "a project that is not whole: $pointer"; fi
  else
    none=$((none + 1))
    if [ "$(leftovers)" -gt 0 ]; then
      refusal=$("$grtool" dump "$project" 2>&1 || true)
      [[ $refusal == *half-made* ]] || fail "opening what the kill left says: $refusal"
    fi
    if ! "$grtool" new "$project" >/dev/null 2>&1 || ! is_whole; then
      fail "the project could not be made again"
    elif [ "$(leftovers .)" -ne 0 ]; then
      fail "making it again left $(leftovers .) hidden files beside it"
    fi
  fi
  rm -rf "$project"
done

echo "crash-new: $kills kills: $none left no project, $whole a whole one" \
  "($finished of them had finished); $failures failures"
[ "$failures" -eq 0 ]
