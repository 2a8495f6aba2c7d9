#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source file of the
# compile database, as many files at a time as there are cores; any finding
# fails. A by-hand tool: a whole run takes about ten minutes on two cores,
# too long for CI's run.
#
#   scripts/tidy.sh [BUILD_FOLDER] [PATH_REGEX]     e.g. scripts/tidy.sh build 'host/(head|cli)/'
# PATH_REGEX is matched against the source paths from the top of the tree on.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build}
only=${2:-}
if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGR_BENCH=ON >/dev/null
fi
ours="(platform|repository|runtime|tool|configurator|host|tests|bench|tools|fuzz)"
# The compile commands are GCC's: clang must not stop at GCC-only warning
# flags, nor at the C-linkage warning that CMake switches off for clang only.
run-clang-tidy -j"$(nproc)" -p "$build" -quiet -header-filter="^$root/$ours/" \
  -extra-arg=-Wno-unknown-warning-option -extra-arg=-Wno-return-type-c-linkage \
  -extra-arg=-fno-color-diagnostics "^$root/${only:-$ours/}"
echo "tidy: no findings"
