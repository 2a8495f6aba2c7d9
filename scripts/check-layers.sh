#!/usr/bin/env bash
# Dependencies point down: each layer and each room of the host includes only
# what it may use. Prints every include that breaks the rule.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [repository]="platform repository"
  [runtime]="platform runtime"
  # tool/, configurator/, exchange/ and multiuser/ are one library (libmain) and call each other.
  [tool]="platform runtime tool configurator exchange multiuser"
  [configurator]="platform runtime tool configurator exchange multiuser"
  [exchange]="platform runtime tool configurator exchange multiuser"
  [multiuser]="platform runtime tool configurator exchange multiuser"
  [host/base]="platform runtime host/base"
  [host/system]="platform runtime host/base host/system"
  [host/diagram]="platform runtime host/base host/diagram"
  [host/dialog]="platform runtime host/base host/dialog"
  [host/multiuser]="platform runtime host/base host/multiuser"
  [host/head]="platform runtime host/base host/system host/diagram host/dialog host/multiuser host/head"
  [host/render]="platform runtime host/base host/diagram host/render"
  [host/gestures]="platform runtime host/base host/system host/diagram host/dialog host/multiuser host/head host/gestures"
  [host/script]="platform runtime host/base host/system host/diagram host/dialog host/multiuser host/head host/gestures host/script"
  [host/web]="platform runtime host/base host/system host/diagram host/dialog host/multiuser host/head host/render host/gestures host/web"
  [host/cli]="platform runtime host"
)

status=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file line include; do
    target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$include")
    ok=0
    for prefix in ${allowed[$layer]}; do
      case "$target" in "$prefix"/*) ok=1 ;; esac
    done
    if [ $ok -eq 0 ]; then
      echo "$file:$line: $layer may not include \"$target\""
      status=1
    fi
  done < <(grep -n '#include "' "$layer"/*.cpp "$layer"/*.h 2>/dev/null || true)
done
[ $status -eq 0 ] && echo "layers: every include points down"
exit $status
