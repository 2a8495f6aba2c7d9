#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libsqlite3-dev libpcre2-dev liblua5.4-dev libcli11-dev nlohmann-json3-dev
  clang-format clang-tidy libgtest-dev libgmock-dev libbenchmark-dev libexpat1-dev sqlite3 python3
  libpq-dev postgresql
  libcpp-httplib-dev chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js with npm runs the browser tests; a machine may have its own build.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# playwright-core drives Debian's Chromium in the browser tests; installed
# into the tree from the checked-in lock file.
tests="$(dirname "$0")/../web/tests"
if [ ! -d "$tests/node_modules/playwright-core" ]; then
  echo "setup: installing the browser tests' npm packages"
  npm ci --prefix "$tests" --no-audit --no-fund >/dev/null
fi
