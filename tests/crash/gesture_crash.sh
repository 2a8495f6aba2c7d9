#!/usr/bin/env bash
# Kills `grtool play` at random moments and checks that every kill leaves the
# project at a gesture boundary: its dump equals the dump after some prefix of
# the script (or after `new`, or after the opening).
#
#   gesture_crash.sh GRTOOL SCRIPT KILLS [SEED]
#
# CI runs a few dozen kills; run it by hand with 1000 for a long run.
set -euo pipefail

grtool=$1
script=$2
kills=$3
RANDOM=${4:-1}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$grtool" new "$work/template" --name Crash >/dev/null
mkdir "$work/boundaries"
"$grtool" dump "$work/template" --json >"$work/boundaries/new.json"

fresh() {
  rm -rf "$1"
  cp -r "$work/template" "$1"
}

# The dump after each prefix of the script: lines 0 (the opening alone) .. all.
lines=$(wc -l <"$script")
for ((k = 0; k <= lines; k++)); do
  head -n "$k" "$script" >"$work/prefix.grs"
  fresh "$work/p"
  "$grtool" play "$work/p" "$work/prefix.grs" >/dev/null
  "$grtool" dump "$work/p" --json >"$work/boundaries/$k.json"
done
# Identical states count once.
declare -A boundary=()
for file in "$work"/boundaries/*.json; do boundary[$(sha256sum <"$file" | cut -d' ' -f1)]=1; done

# How long a whole play takes, so that kills fall anywhere within it.
fresh "$work/p"
start=$(date +%s%N)
"$grtool" play "$work/p" "$script" >/dev/null
span_us=$((($(date +%s%N) - start) / 1000))

at_boundary=0
for ((i = 1; i <= kills; i++)); do
  fresh "$work/p"
  delay_us=$(((RANDOM * 32768 + RANDOM) % (span_us + 1)))
  "$grtool" play "$work/p" "$script" >/dev/null 2>&1 &
  pid=$!
  sleep "$(printf '0.%06d' "$delay_us")"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if ! "$grtool" dump "$work/p" --json >"$work/after.json" 2>"$work/error.txt"; then
    echo "kill $i after ${delay_us} us: the project does not open: $(cat "$work/error.txt")" >&2
    exit 1
  fi
  digest=$(sha256sum <"$work/after.json" | cut -d' ' -f1)
  if [ -z "${boundary[$digest]:-}" ]; then
    cp -r "$work/p" "${TMPDIR:-/tmp}/gesture-crash-failure"
    echo "kill $i after ${delay_us} us left the project between gestures" \
      "(kept in ${TMPDIR:-/tmp}/gesture-crash-failure)" >&2
    exit 1
  fi
  at_boundary=$((at_boundary + 1))
done
echo "gesture crash: $at_boundary of $kills kills left the project at a gesture boundary" \
  "(${#boundary[@]} boundary states, a play of ${span_us} us)"
