#!/usr/bin/env bash
# Builds the system and runs the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build -j"$(nproc)" >/dev/null
out=${1:-out/demo-project}
mkdir -p "$(dirname "$out")"
build/tools/store_demo "$out"
