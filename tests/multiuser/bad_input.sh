#!/usr/bin/env bash
# Bad shared locations and areas: one clear message each, and the member's
# project as it was.
#   bad_input.sh GRTOOL sqlite|postgres
set -euo pipefail
grtool=$(readlink -f "$1")
backend=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/shared-project.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "bad input: $*" >&2; exit 1; }

# Runs grtool expecting it to fail with MESSAGE (a fixed string) and to
# leave PROJECT as it was. Opening a project makes its project diagram
# current; it is opened once before, so that the comparison sees the rest.
refused() {
  local message=$1 project=$2
  shift 2
  "$grtool" play "$project" "$here/members/open.grs" >/dev/null
  "$grtool" dump "$project" >"$work/before"
  if "$grtool" "$@" >"$work/out" 2>&1; then cat "$work/out"; fail "grtool $* succeeded"; fi
  grep -qF -- "$message" "$work/out" || { cat "$work/out"; fail "no \"$message\" from grtool $*"; }
  "$grtool" dump "$project" >"$work/after"
  cmp -s "$work/before" "$work/after" || fail "grtool $* changed $project"
  echo "refused as expected: $message"
}

"$grtool" new plain --name Demo >/dev/null
"$grtool" play plain "$here/members/setup.grs" >/dev/null

refused "no shared store is connected" plain play plain "$here/members/convert.grs"

if [ "$backend" = sqlite ]; then
  refused "does not exist or is no folder" plain share plain --shared "$work/nowhere"
  refused "does not exist or is no folder" plain play plain "$here/members/checkout-top.grs" \
    --shared "$work/nowhere"
  mkdir busy && echo notes >busy/notes.txt
  refused "is not a shared store and not an empty folder" plain share plain --shared "$work/busy"
  mkdir empty
  refused "is not a shared store." plain play plain "$here/members/checkout-top.grs" \
    --shared "$work/empty"
  mkdir fake && echo "no database" >fake/grtool-shared.db
  refused "is not a shared store" plain share plain --shared "$work/fake"
  # A store that fails while the areas are written: the project is not
  # converted at all.
  mkdir failing
  "$grtool" new other --name Other >/dev/null
  "$grtool" share other --shared "$work/failing" >/dev/null
  sqlite3 failing/grtool-shared.db \
    "CREATE TRIGGER refuse BEFORE INSERT ON areas BEGIN SELECT RAISE(ABORT, 'the disk is full'); END;"
  refused "the project was not shared; it is left as it was" plain share plain \
    --shared "$work/failing"
else
  mkdir nobody-listens
  refused "can not be reached" plain share plain \
    --shared "postgresql:///shared?host=$work/nobody-listens&user=grtool"
  refused "can not be reached" plain play plain "$here/members/checkout-top.grs" \
    --shared "postgresql:///no_such_database?host=$GR_TEST_POSTGRES_FOLDER&user=grtool"
  refused "is not a shared store" plain play plain "$here/members/checkout-top.grs" \
    --shared "$GR_TEST_POSTGRES"
  "$grtool" new other --name Other >/dev/null
  "$grtool" share other --shared "$GR_TEST_POSTGRES" >/dev/null
  psql -q "$GR_TEST_POSTGRES" -c "CREATE FUNCTION refuse() RETURNS trigger AS \$\$ BEGIN RAISE EXCEPTION 'the disk is full'; END \$\$ LANGUAGE plpgsql; CREATE TRIGGER refuse BEFORE INSERT ON areas FOR EACH ROW EXECUTE FUNCTION refuse();"
  refused "the project was not shared; it is left as it was" plain share plain \
    --shared "$GR_TEST_POSTGRES"
  psql -q "$GR_TEST_POSTGRES" -c "DROP TRIGGER refuse ON areas"
fi

# A remote id that no area has: alice's shared project played against
# another store. The checkout fails with the library's text and the
# engine's reason; the diagrams stay as they were.
shared_project "$grtool" "$backend" "$here/members/setup.grs" bob
"$grtool" new other2 --name Other >/dev/null
if [ "$backend" = sqlite ]; then
  mkdir store2 && store2="$work/store2"
else
  psql -q "$GR_TEST_POSTGRES" -c "CREATE DATABASE shared2"
  store2=${GR_TEST_POSTGRES/\/shared\?//shared2?}
fi
"$grtool" share other2 --shared "$store2" >/dev/null
top=$("$grtool" dump bob --class GraphDiagram | grep -m1 'remoteId' | sed 's/.*"\(.*\)"/\1/')
# The script empties the selection, which is the user's doing.
"$grtool" play bob "$here/members/open.grs" >/dev/null
"$grtool" dump bob --class Element | grep -v 'collection ->' >"$work/before"
"$grtool" play bob "$here/members/checkout-top.grs" --user bob --shared "$store2" >"$work/out" 2>&1 ||
  { cat "$work/out"; fail "the checkout play"; }
grep -qF "[info] Failed. Unknown reason, sorry." "$work/out" || { cat "$work/out"; fail "no failure text"; }
grep -qF "There is no shared area $top at" "$work/out" || { cat "$work/out"; fail "no reason"; }
"$grtool" dump bob --class Element | grep -v 'collection ->' >"$work/after"
diff "$work/before" "$work/after" || fail "the failed checkout changed bob's diagrams"
echo "refused as expected: a remote id that no area has"

# A project is shared once.
refused "the project is shared already" alice share alice --shared "$shared"
