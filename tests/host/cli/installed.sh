#!/usr/bin/env bash
# Installs the build into a fresh prefix and runs the installed grtool from a
# folder of its own, with relative paths: it makes a project, plays the demo
# script and renders every diagram. The installed programs and libraries
# must find each other in the prefix, never in the build folder, and the
# library's files must land in the project, not in the folder grtool was
# started from.
#
#   tests/host/cli/installed.sh BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd -P)
source=$(cd "$2" && pwd -P)
work=$(mktemp -d "${TMPDIR:-/tmp}/gr-installed-XXXXXX")
trap 'rm -rf "$work"' EXIT
work=$(cd "$work" && pwd -P)  # as the loader names it
prefix=$work/prefix
fail() {
  echo "installed: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
grtool=$prefix/bin/grtool
[ -x "$grtool" ] || fail "no $grtool"
for file in "$prefix"/lib/grtool/*; do
  [ -f "$file" ] || continue
  runpath=$(readelf -d "$file" | grep -E '\(R(UN)?PATH\)' || true)
  if [ -n "$runpath" ] && [[ $runpath != *'path: [$ORIGIN]' ]]; then
    fail "$file searches libraries elsewhere than beside itself: $runpath"
  fi
done

mkdir "$work/user"
cd "$work/user"
cp "$source/scenarios/demo.grs" demo.grs
unset LD_LIBRARY_PATH
LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/loader" "$grtool" new P --name Demo >/dev/null
LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/loader" "$grtool" play P demo.grs >/dev/null
LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/loader" "$grtool" render P --dir pictures >/dev/null

pictures=$(find pictures -name '*.svg' | wc -l)
[ "$pictures" -eq 5 ] || fail "$pictures pictures rendered, not 5"
if grep -l "$build" "$work"/loader.* >/dev/null; then
  fail "the installed grtool loaded from the build folder: $(grep -h "$build" "$work"/loader.* | head -3)"
fi
for library in libmain.so libruntime.so librepository.so; do
  grep -q "calling init: $prefix/lib/grtool/$library" "$work"/loader.* ||
    fail "$library was not loaded from $prefix/lib/grtool"
done
[ -e P/l0_log ] || fail "the library's log is not in the project"
for file in l0_log L0_trace.txt; do
  [ ! -e "$file" ] || fail "$file was written into the folder grtool was started from"
done
echo "installed: grtool in $prefix made, played and rendered a project with its own libraries"
