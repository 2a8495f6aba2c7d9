#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build folder of their own and
# runs each for a short time from its seed corpus. A crash, a sanitizer
# report, a broken result property or an input that runs longer than 5 s
# fails the run. New corpus entries and crash files stay in the build folder.
#   GR_FUZZ_SECONDS  time of the path fuzzer (default 60); the exchange reader
#                    gets half of it
#   GR_FUZZ_BUILD    build folder (default build-fuzz)
#   GR_FUZZ_JOBS     parallel build jobs (default: all cores)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${GR_FUZZ_BUILD:-build-fuzz}
seconds=${GR_FUZZ_SECONDS:-60}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGR_FUZZ=ON -DGR_BENCH=OFF >/dev/null
ninja -C "$build" -j"${GR_FUZZ_JOBS:-$(nproc)}" fuzz_lpath fuzz_exchange

# Each target runs in a work folder of its own, where its trace file and its
# findings land, from its seed corpus: TARGET MAX_LEN SECONDS.
fuzz() {
  local work="$root/$build/fuzz-work/$1"
  mkdir -p "$work/corpus"
  (cd "$work" && "$root/$build/bin/fuzz_$1" -max_total_time="$3" -timeout=5 -max_len="$2" \
    -rss_limit_mb=2048 -print_final_stats=1 corpus "$root/fuzz/corpus/$1")
}
fuzz lpath 4096 "$seconds"
# Exported texts run to tens of kilobytes.
fuzz exchange 65536 $((seconds / 2))
