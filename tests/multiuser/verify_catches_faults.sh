#!/usr/bin/env bash
# The race's verifier finds what it looks for: logs of two members that held
# a lock at once, a commit missing from the area, refusals without the
# library's text (race-faults/) give exactly the problems in expected.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
faults=$here/race-faults
out=$(python3 "$here/verify_race.py" "$faults/final" "$faults/m1.race" "$faults/m2.race")
status=$?
[ $status -eq 1 ] || { echo "verify_race.py exited $status on faulty logs"; exit 1; }
diff <(sed "s|$faults/||g" <<<"$out") "$faults/expected"
