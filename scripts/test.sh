#!/usr/bin/env bash
# Builds and runs every test: the normal build, then the sanitizer build
# (AddressSanitizer + UndefinedBehaviorSanitizer), then short fuzz runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check-format.sh
scripts/check-layers.sh

jobs=$(nproc)

# Every test works in a folder of its own; what the library writes into the
# current directory must never turn up in the folder ctest runs the tests in.
run_tests() {
  local folder=$1/tests
  rm -f "$folder/L0_trace.txt" "$folder/l0_log"
  ctest --test-dir "$1" --output-on-failure -j"$jobs"
  for file in L0_trace.txt l0_log; do
    for place in "$folder" "$PWD"; do
      if [ -e "$place/$file" ]; then
        echo "a test wrote $file into $place, a folder tests share" >&2
        exit 1
      fi
    done
  done
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGR_BENCH=ON >/dev/null
ninja -C build -j"$jobs"
run_tests build

# The editor in a headless Chromium: gestures made with the mouse and the
# keyboard checked against the model, and the latency of a click (printed).
GRTOOL=build/bin/grtool node --test --test-concurrency=1 web/tests/editor.test.mjs web/tests/latency.test.mjs

# A smoke run of the benchmarks on small inputs: they must work, numbers come
# from full runs by hand (see bench/README.md).
for bench in build/bin/bench_*; do
  [ -x "$bench" ] && GR_BENCH_SMOKE=1 "$bench" --benchmark_min_time=0.001 >/dev/null
done

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGR_SANITIZE=ON -DGR_BENCH=OFF >/dev/null
ninja -C build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan

# Mutated gesture scripts under the sanitizers: a crash, a hang, a report or a
# project that no longer opens fails the run (GR_MUTANTS for a longer run).
ASAN_OPTIONS=detect_leaks=1 python3 tests/fuzz/mutate_scripts.py build-asan/bin/grtool scenarios \
  --count "${GR_MUTANTS:-200}" --seed "${GR_MUTANT_SEED:-1}"

if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh; fi
echo "all tests passed"
