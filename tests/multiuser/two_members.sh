#!/usr/bin/env bash
# Two members share one project: alice converts it, bob works from a copy of
# the converted project, and they check out, lock and commit its diagrams in
# turn (the scripts in members/ say what each step expects).
#   two_members.sh GRTOOL sqlite       a shared folder
#   two_members.sh GRTOOL postgres     the database of with-postgres.sh
set -euo pipefail
grtool=$(readlink -f "$1")
backend=$2
scripts=$(cd "$(dirname "$0")/members" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

case "$backend" in
  sqlite) mkdir store; shared="$work/store" ;;
  postgres) shared=$GR_TEST_POSTGRES ;;
  *) echo "unknown back end $backend" >&2; exit 2 ;;
esac

play() {
  local member=$1 script=$2
  echo "== $member: $script"
  "$grtool" play "$work/$member" "$scripts/$script" --user "$member" --lease 600 >"$work/out" 2>&1 ||
    { cat "$work/out"; exit 1; }
  if grep -q '^\[error\]' "$work/out"; then cat "$work/out"; exit 1; fi
}

"$grtool" new alice --name Demo >/dev/null
"$grtool" play alice "$scripts/setup.grs" >/dev/null
"$grtool" share alice --shared "$shared" --user alice
grep -q '"isProjectMultiUser"' <("$grtool" dump alice --class MultiUserEngine --json)
# A member starts from the converted project: its tool definitions and its
# top diagram, the rest fetched from the shared areas.
cp -r alice bob

play bob bob-checkout.grs
play alice alice-lock.grs
play bob bob-lock-refused.grs
play alice alice-commit.grs
play bob bob-sees-change.grs
for member in alice bob; do "$grtool" check "$member" >/dev/null; done

# dave converts his project from a script, into the same store.
"$grtool" new dave --name Demo >/dev/null
"$grtool" play dave "$scripts/setup.grs" >/dev/null
"$grtool" play dave "$scripts/convert.grs" --user dave --shared "$shared" >"$work/out" 2>&1 ||
  { cat "$work/out"; exit 1; }
"$grtool" check dave >/dev/null
echo "two members: every step as expected"
