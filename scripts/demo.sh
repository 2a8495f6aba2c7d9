#!/usr/bin/env bash
# Builds the system, creates a demo project, plays the demo's gesture script
# in it and renders every diagram of the project as SVG.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build -j"$(nproc)" >/dev/null
project=${1:-out/demo-project}
pictures=${2:-out/demo-pictures}
rm -rf "$project" "$pictures"
mkdir -p "$(dirname "$project")"
build/bin/grtool new "$project" --name Demo
build/bin/grtool play "$project" scenarios/demo.grs
build/bin/grtool render "$project" --dir "$pictures"
echo "demo: the pictures of every diagram are in $pictures"
