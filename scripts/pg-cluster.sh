#!/usr/bin/env bash
# A throw-away PostgreSQL cluster on a local socket for the database tests.
#   scripts/pg-cluster.sh start DIR   creates and starts it in DIR (socket in DIR)
#   scripts/pg-cluster.sh stop DIR    stops it and removes DIR
# The server refuses to run as root, so it runs as the postgres user.
set -euo pipefail
cmd="$1"
dir="$2"
port="${VELDARO_TEST_PG_PORT:-5439}"
bin=/usr/lib/postgresql/15/bin
as_pg() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$cmd" in
  start)
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
    as_pg "$bin/initdb" -D "$dir/data" -A trust -U rc -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
    as_pg "$bin/pg_ctl" -D "$dir/data" -w -l "$dir/log" \
      -o "-k $dir -p $port -c listen_addresses='' -c fsync=off -c full_page_writes=off" start >/dev/null
    ;;
  stop)
    as_pg "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$dir"
    ;;
esac
