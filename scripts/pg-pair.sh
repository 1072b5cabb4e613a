#!/usr/bin/env bash
# The plant's server pair for the failover test: a primary and a streaming
# standby made from it (pg_basebackup -R), each on a local socket of its own.
#   scripts/pg-pair.sh start DIR PORT    sockets DIR/one (primary) and DIR/two (standby)
#   scripts/pg-pair.sh stop-primary DIR  the primary shut down (its last WAL reaches the standby)
#   scripts/pg-pair.sh promote DIR       the standby made the primary, waiting until it takes writes
#   scripts/pg-pair.sh stop DIR          both stopped, DIR removed
# The database rc_db belongs to the role "office", which logs in with the
# password "office-secret" only (scram), as on a plant's server.  Exits 77
# when the PostgreSQL programs are not installed.  Runs the servers as the
# postgres user when started by root.
set -euo pipefail
cmd="$1"
dir="$2"
bin=/usr/lib/postgresql/15/bin
[ -x "$bin/initdb" ] || { echo "no PostgreSQL programs in $bin" >&2; exit 77; }
as_pg() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
server_options() {  # socket folder, port
  echo "-k $1 -p $2 -c listen_addresses='' -c fsync=off -c full_page_writes=off"
}

case "$cmd" in
  start)
    port="$3"
    mkdir -p "$dir/one" "$dir/two"
    [ "$(id -u)" -eq 0 ] && chown -R postgres "$dir"
    as_pg "$bin/initdb" -D "$dir/primary" -A trust -U rc -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
    # The office's role with a password first; everything else trusted.
    as_pg sh -c "{ echo 'local all office scram-sha-256'; cat '$dir/primary/pg_hba.conf'; } >'$dir/hba' && mv '$dir/hba' '$dir/primary/pg_hba.conf'"
    as_pg "$bin/pg_ctl" -D "$dir/primary" -w -l "$dir/primary.log" -o "$(server_options "$dir/one" "$port")" start >/dev/null
    as_pg "$bin/psql" -q -h "$dir/one" -p "$port" -U rc -d postgres \
      -c "create role office login password 'office-secret'" -c "create database rc_db owner office" >/dev/null
    as_pg "$bin/pg_basebackup" -h "$dir/one" -p "$port" -U rc -D "$dir/standby" -R -X stream -c fast
    as_pg "$bin/pg_ctl" -D "$dir/standby" -w -l "$dir/standby.log" -o "$(server_options "$dir/two" "$port")" start >/dev/null
    ;;
  stop-primary)
    as_pg "$bin/pg_ctl" -D "$dir/primary" -m fast -w stop >/dev/null
    ;;
  promote)
    as_pg "$bin/pg_ctl" -D "$dir/standby" -w promote >/dev/null
    ;;
  stop)
    for d in primary standby; do
      [ -d "$dir/$d" ] && as_pg "$bin/pg_ctl" -D "$dir/$d" -m immediate stop >/dev/null 2>&1 || true
    done
    rm -rf "$dir"
    ;;
esac
