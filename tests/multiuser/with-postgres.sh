#!/usr/bin/env bash
# Runs COMMAND... against a throw-away PostgreSQL cluster: made with initdb
# in a folder of its own, listening on a socket in that folder only (no TCP
# port), stopped and removed when COMMAND ends. COMMAND finds the database's
# address in GR_TEST_POSTGRES and the folder in GR_TEST_POSTGRES_FOLDER.
# initdb refuses to run as root; as root the cluster runs as "nobody".
set -euo pipefail

# Debian keeps the server's programs off the PATH, in a folder per version.
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  bin=$(dirname "$(command -v initdb 2>/dev/null || echo /nonexistent/initdb)")
fi
if [ ! -x "$bin/initdb" ] || [ ! -x "$bin/pg_ctl" ]; then
  # 77: ctest reports the test as skipped, with this line as the reason.
  echo "SKIPPED: no PostgreSQL server programs (initdb, pg_ctl);" \
    "scripts/setup.sh installs them with the postgresql package" >&2
  exit 77
fi
export PATH="$bin:$PATH"

# Short, so that the socket's path stays within the limit of 107 bytes.
folder=$(mktemp -d /tmp/grpg.XXXXXX)
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$folder"
  as_owner=(runuser -u nobody --)
fi

stop() {
  "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -m immediate -w stop >/dev/null 2>&1 || true
  rm -rf "$folder"
}
trap stop EXIT

"${as_owner[@]}" "$bin/initdb" -D "$folder/data" -A trust -U grtool --no-sync -E UTF8 \
  >"$folder/initdb.log" 2>&1 || { cat "$folder/initdb.log" >&2; exit 1; }
"${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
  -o "-c listen_addresses='' -k $folder -c fsync=off -c max_connections=60" start >/dev/null ||
  { cat "$folder/server.log" >&2; exit 1; }
"${as_owner[@]}" "$bin/createdb" -h "$folder" -U grtool shared

export GR_TEST_POSTGRES="postgresql:///shared?host=$folder&user=grtool"
export GR_TEST_POSTGRES_FOLDER="$folder"
status=0
"$@" || status=$?
# 77 means a skip to ctest; a failing COMMAND must not pass for one.
[ $status -ne 77 ] || status=1
exit $status
