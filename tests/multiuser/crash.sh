#!/usr/bin/env bash
# A member holding a lock is killed with SIGKILL. While it lived its engine
# renewed the lease, so the lock held well past one lease; after its death
# the lease runs out and another member's lock succeeds. What it committed
# before is there; what it had not committed is not.
#   crash.sh GRTOOL MEMBER-PROGRAM sqlite|postgres
set -euo pipefail
grtool=$(readlink -f "$1")
member=$(readlink -f "$2")
backend=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/shared-project.sh"
work=$(mktemp -d)
holder=
cleanup() {
  [ -n "$holder" ] && kill -9 "$holder" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
fail() { echo "crash: $*" >&2; exit 1; }

# Seconds. The engine renews every third of a lease, so a renewal may come
# more than six seconds late on a loaded machine before the lock runs out.
lease=10
shared_project "$grtool" "$backend" "$here/members/setup.grs" bob carol

as() { local who=$1; shift; "$member" "$work/$who" "$who" "$shared" "$lease" "$@"; }

[ "$(as bob edit-commit First "committed by bob")" = "Commited" ] || fail "bob's first commit"

"$member" "$work/bob" bob "$shared" "$lease" hold First "$work/held" >"$work/holder.log" 2>&1 &
holder=$!
for _ in $(seq 600); do [ -e "$work/held" ] && break; kill -0 "$holder" || break; sleep 0.1; done
[ -e "$work/held" ] || { cat "$work/holder.log"; fail "bob did not take the lock"; }

# Half a lease past the first one, the living holder keeps its lock.
end=$((SECONDS + lease + lease / 2))
while [ $SECONDS -lt $end ]; do
  got=$(as carol try-lock First)
  [ "$got" = "Failed. Locked by bob" ] || fail "while bob lives carol got: $got"
  sleep 0.5
done

kill -9 "$holder"
wait "$holder" 2>/dev/null || true
holder=

# After the lease carol gets it; until then every refusal names bob.
deadline=$((SECONDS + 6 * lease))
while :; do
  got=$(as carol try-lock First)
  [ "$got" = "Done" ] && break
  [ "$got" = "Failed. Locked by bob" ] || fail "carol got: $got"
  [ $SECONDS -lt $deadline ] || fail "the lock of the killed member was never released"
  sleep 0.2
done

boxes=$(as carol report First)
echo "$boxes"
grep -q "committed by bob" <<<"$boxes" || fail "bob's commit was lost"
if grep -q "uncommitted by bob" <<<"$boxes"; then fail "bob's uncommitted edit appeared"; fi

# bob, back, learns that his lock is gone: his commit is refused.
"$grtool" play bob "$here/members/bob-lost-lock.grs" --user bob --lease "$lease" >"$work/bob.log" 2>&1 ||
  { cat "$work/bob.log"; fail "bob's refused commit"; }
grep -q "was taken by another member" "$work/bob.log" || { cat "$work/bob.log"; fail "no note of the lost lock"; }
echo "crash: the killed member's lock was released, nothing committed was lost"
