#!/usr/bin/env bash
# Eight members lock, edit and commit the same three diagrams in random order
# for SECONDS; verify_race.py then checks their logs against the final areas.
#   race.sh GRTOOL MEMBER-PROGRAM sqlite|postgres SECONDS [SEED]
set -euo pipefail
grtool=$(readlink -f "$1")
member=$(readlink -f "$2")
backend=$3
seconds=$4
seed=${5:-$RANDOM}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/shared-project.sh"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
members=(m1 m2 m3 m4 m5 m6 m7 m8)
shared_project "$grtool" "$backend" "$here/members/setup-counters.grs" "${members[@]}" checker
echo "race: ${#members[@]} members for ${seconds}s, seed $seed"

# Nobody is killed here: a lease of two minutes, renewed every 40 s, never
# runs out while its holder lives, however slow the machine. (A lock lost
# that way would show as two holders at once.)
lease=120
for i in "${!members[@]}"; do
  name=${members[$i]}
  "$member" "$work/$name" "$name" "$shared" "$lease" race "$seconds" $((seed + i)) \
    "$work/$name.race" First Second Third 2>"$work/$name.err" &
  pids+=($!)
done
status=0
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || { status=1; echo "race: ${members[$i]} failed:"; cat "$work/${members[$i]}.err"; }
done
pids=()
[ $status -eq 0 ] || exit 1
"$member" "$work/checker" checker "$shared" "$lease" report First Second Third >"$work/final"
python3 "$here/verify_race.py" "$work/final" "$work"/m*.race
