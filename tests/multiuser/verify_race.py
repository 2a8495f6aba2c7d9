#!/usr/bin/env python3
"""Checks the logs of racing members against the final shared areas.

Each log line: KIND DIAGRAM MICROSECONDS [REST], KIND one of locked,
releasing, committed (REST: the count the member wrote and its box's name),
refused and commit-refused (REST: the information-bar text). The final file
has one line per diagram: its name, then the names of its boxes.
"""
import re
import sys
from collections import defaultdict

LOCK_REFUSED = re.compile(r"^Failed\. Locked by m[1-8]$")
COMMIT_REFUSED = "Commit failed. Unknown reason, sorry."


def main(final_path, log_paths):
    problems = []
    final = {}
    with open(final_path, encoding="utf-8") as final_file:
        for line in final_file:
            name, *boxes = line.split()
            final[name] = boxes
    counts = defaultdict(list)   # diagram -> counts written by successful commits
    marks = defaultdict(list)    # diagram -> boxes of successful commits
    holds = defaultdict(list)    # diagram -> (from, to, member) while a lock was held
    refusals = 0
    for path in log_paths:
        open_hold = {}
        with open(path, encoding="utf-8") as log:
            for line in log:
                kind, name, at, *rest = line.rstrip("\n").split(" ", 3)
                at = int(at)
                text = rest[0] if rest else ""
                if kind == "locked":
                    open_hold[name] = at
                elif kind == "releasing":
                    holds[name].append((open_hold.pop(name), at, path))
                elif kind == "committed":
                    count, mark = text.split(" ")
                    counts[name].append(int(count))
                    marks[name].append(mark)
                elif kind == "refused":
                    refusals += 1
                    if not LOCK_REFUSED.match(text):
                        problems.append(f"{path}: a lock refused with {text!r}")
                elif kind == "commit-refused":
                    refusals += 1
                    if text != COMMIT_REFUSED:
                        problems.append(f"{path}: a commit refused with {text!r}")
                else:
                    problems.append(f"{path}: unknown line {line!r}")
    commits = 0
    for name, boxes in final.items():
        written = sorted(counts[name])
        commits += len(written)
        # Each commit counted up from what the one before it committed: two
        # members holding the lock at once would have written a count twice.
        if written != list(range(1, len(written) + 1)):
            problems.append(f"{name}: the committed counts are {written}")
        if f"count={len(written)}" not in boxes:
            problems.append(f"{name}: the final count is not {len(written)}: {boxes}")
        missing = [mark for mark in marks[name] if mark not in boxes]
        if missing:
            problems.append(f"{name}: committed boxes missing from the area: {missing}")
        spans = sorted(holds[name])
        for (start, end, who), (next_start, _, other) in zip(spans, spans[1:]):
            if next_start < end:
                problems.append(f"{name}: {who} and {other} held the lock at once")
    if commits == 0:
        problems.append("no commit at all")
    for problem in problems:
        print("race:", problem)
    print(f"race: {commits} commits, {refusals} refusals, "
          f"{sum(len(h) for h in holds.values())} locks held; "
          f"{'every check passed' if not problems else f'{len(problems)} problems'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2:]))
