#!/usr/bin/env python3
"""Plays mutated gesture scripts and fails on anything but a clean result.

Each mutant is a scenario with a few random edits (lines dropped, repeated or
swapped, words replaced by words from other scenarios, numbers made extreme,
bytes spliced in) played on a fresh copy of a new project. A play may pass or
stop at a script error (exit 0 or 1); a crash, a hang, a sanitizer report or
a project that no longer opens is a finding: the mutant is kept and the run
fails.

  mutate_scripts.py GRTOOL SCENARIO_DIR [--count N] [--seed S] [--keep DIR]
"""
import argparse
import pathlib
import random
import shutil
import subprocess
import sys
import tempfile

EXTREMES = ["0", "-1", "2147483647", "-2147483648", "99999999999", "100000001", "1e9", "0x10"]
NOISE = ['"', "\\", "=", "#", "\x00", "\xff", "\u00e9", "as", "\t", "\"\\q\""]
REPORTS = ("AddressSanitizer", "LeakSanitizer", "runtime error:", "UndefinedBehaviorSanitizer")


def mutate(lines, words, rng):
    lines = list(lines)
    for _ in range(rng.randint(1, 4)):
        if not lines:
            lines.append(rng.choice(words))
            continue
        at = rng.randrange(len(lines))
        kind = rng.randrange(7)
        if kind == 0:
            del lines[at]
        elif kind == 1:
            lines.insert(at, lines[at])
        elif kind == 2:
            other = rng.randrange(len(lines))
            lines[at], lines[other] = lines[other], lines[at]
        elif kind == 3 or kind == 4:
            tokens = lines[at].split(" ")
            spot = rng.randrange(len(tokens))
            pool = EXTREMES if kind == 4 else words
            tokens[spot] = rng.choice(pool)
            lines[at] = " ".join(tokens)
        elif kind == 5:
            text = lines[at]
            cut = rng.randrange(len(text) + 1)
            lines[at] = text[:cut] + rng.choice(NOISE) + text[cut:]
        else:
            lines[at] = lines[at][: rng.randrange(len(lines[at]) + 1)]
    return lines


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("grtool")
    parser.add_argument("scenarios")
    parser.add_argument("--count", type=int, default=100)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--timeout", type=float, default=60)
    parser.add_argument("--keep", default="out/fuzz-findings")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    scripts = sorted(pathlib.Path(args.scenarios).glob("*.grs"))
    texts = {path.name: path.read_text(encoding="utf-8").splitlines() for path in scripts}
    words = sorted({word for lines in texts.values() for line in lines for word in line.split()})

    work = pathlib.Path(tempfile.mkdtemp(prefix="grtool-mutants-"))
    try:
        template = work / "template"
        subprocess.run([args.grtool, "new", str(template), "--name", "Demo"], check=True,
                       stdout=subprocess.DEVNULL)
        outcomes = {"passed": 0, "script error": 0}
        for number in range(1, args.count + 1):
            name = rng.choice(sorted(texts))
            mutant = "\n".join(mutate(texts[name], words, rng)) + "\n"
            script = work / "mutant.grs"
            script.write_bytes(mutant.encode("utf-8", "surrogateescape"))
            project = work / "p"
            shutil.rmtree(project, ignore_errors=True)
            shutil.copytree(template, project)
            finding = play(args, project, script)
            if finding is None:
                finding = opens_again(args, project)
            if finding is not None:
                keep = pathlib.Path(args.keep)
                keep.mkdir(parents=True, exist_ok=True)
                kept = keep / f"mutant-{args.seed}-{number}-of-{name}"
                shutil.copy(script, kept)
                print(f"mutant {number} of {name}: {finding}\n  kept as {kept}", file=sys.stderr)
                return 1
            outcomes[last_outcome[0]] += 1
        print(f"gesture mutants: {args.count} played, {outcomes['passed']} passed, "
              f"{outcomes['script error']} stopped at a script error, no finding")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


last_outcome = ["passed"]


def play(args, project, script):
    try:
        result = subprocess.run([args.grtool, "play", str(project), str(script)],
                                capture_output=True, timeout=args.timeout)
    except subprocess.TimeoutExpired:
        return f"no result within {args.timeout} s"
    errors = result.stderr.decode("utf-8", "replace")
    for report in REPORTS:
        if report in errors:
            return "sanitizer report:\n" + errors[-3000:]
    if result.returncode not in (0, 1):
        return f"exit status {result.returncode}:\n" + errors[-3000:]
    if result.returncode == 1 and ":" not in errors:
        return "a failed play without a message"
    last_outcome[0] = "passed" if result.returncode == 0 else "script error"
    return None


def opens_again(args, project):
    result = subprocess.run([args.grtool, "dump", str(project)], capture_output=True,
                            timeout=args.timeout)
    if result.returncode != 0:
        return "the project no longer opens: " + result.stderr.decode("utf-8", "replace")
    return None


if __name__ == "__main__":
    sys.exit(main())
