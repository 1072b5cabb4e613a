#!/usr/bin/env bash
# A throw-away CUPS scheduler with one queue as its default printer, so that
# the printing tests also run on a machine that has a default printer.  The
# queue takes jobs as they come and throws them away (/dev/null); what was
# sent stays in its job history.
#   scripts/cups-queue.sh start DIR   starts it in DIR; prints the socket path
#   scripts/cups-queue.sh jobs DIR    lists every job the queue was ever sent
#   scripts/cups-queue.sh stop DIR    stops it and removes DIR
# Only programs started with CUPS_SERVER=<socket> see it: the machine's own
# printing system, if any, is not touched.  Needs cupsd and lpadmin
# (Debian: cups-daemon, cups-client).
set -euo pipefail
cmd="$1"
dir="$2"
sock="$dir/cups.sock"

case "$cmd" in
  start)
    mkdir -p "$dir"/{spool/tmp,cache,state,ppd,ssl}
    user="$(id -un)"
    group="$(id -gn)"
    # Filters and backends run as an unprivileged user when cupsd runs as root.
    if [ "$(id -u)" -eq 0 ]; then user=lp; group=lp; fi
    chmod 0755 "$dir"
    chown -R "$user:$group" "$dir/spool" "$dir/cache" "$dir/state" 2>/dev/null || true
    cat >"$dir/cups-files.conf" <<EOF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerKeychain $dir/ssl
ErrorLog $dir/error_log
AccessLog $dir/access_log
PageLog $dir/page_log
User $user
Group $group
SystemGroup $(id -gn)
FileDevice Yes
EOF
    cat >"$dir/cupsd.conf" <<EOF
Listen $sock
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
LogLevel warn
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/cupsd.out" 2>&1 &
    echo $! >"$dir/cupsd.pid"
    export CUPS_SERVER="$sock"
    for _ in $(seq 100); do
      lpstat -r >/dev/null 2>&1 && break
      sleep 0.1
    done
    if ! lpstat -r >/dev/null 2>&1; then
      echo "cupsd did not start:" >&2
      cat "$dir/cupsd.out" "$dir/error_log" >&2 2>/dev/null || true
      exit 1
    fi
    if ! lpadmin -p VELDARO_TEST -E -v file:///dev/null 2>"$dir/lpadmin.log"; then
      cat "$dir/lpadmin.log" >&2
      exit 1
    fi
    lpadmin -d VELDARO_TEST
    echo "$sock"
    ;;
  jobs)
    CUPS_SERVER="$sock" lpstat -W all -o VELDARO_TEST
    ;;
  stop)
    if [ -f "$dir/cupsd.pid" ]; then
      pid="$(cat "$dir/cupsd.pid")"
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$pid" 2>/dev/null || true
    fi
    rm -rf "$dir"
    ;;
esac
