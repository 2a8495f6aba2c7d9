#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build folder of their own and
# runs each for a short time from its seed corpus. A crash, a sanitizer
# report, a broken result property or an input that runs longer than 5 s
# fails the run. New corpus entries and crash files stay in the build folder.
#   GR_FUZZ_SECONDS  time per target (default 60)
#   GR_FUZZ_BUILD    build folder (default build-fuzz)
#   GR_FUZZ_JOBS     parallel build jobs (default: all cores)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${GR_FUZZ_BUILD:-build-fuzz}
seconds=${GR_FUZZ_SECONDS:-60}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGR_FUZZ=ON -DGR_BENCH=OFF >/dev/null
ninja -C "$build" -j"${GR_FUZZ_JOBS:-$(nproc)}" fuzz_lpath

# The evaluator's trace file and the fuzzer's findings land in the work folder.
work="$root/$build/fuzz-work/lpath"
mkdir -p "$work/corpus"
cd "$work"
"$root/$build/bin/fuzz_lpath" -max_total_time="$seconds" -timeout=5 -max_len=4096 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus "$root/fuzz/corpus/lpath"
