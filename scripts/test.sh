#!/usr/bin/env bash
# Builds everything and runs every test: on the embedded SQLite database
# and, on a throw-away PostgreSQL cluster, the database suite again.
# Fails when any test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --tests

pgdir="$(mktemp -d /tmp/veldaro-pg.XXXXXX)"
cupsdir="$(mktemp -d /tmp/veldaro-cups.XXXXXX)"
trap '"$root/scripts/pg-cluster.sh" stop "$pgdir"; "$root/scripts/cups-queue.sh" stop "$cupsdir"' EXIT
"$root/scripts/pg-cluster.sh" start "$pgdir"

# Both configurations compile the core with the same flags: ccache builds
# it once (paths taken relative to the project and the build folder left
# out of the hash, so the two folders match).
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DVELDARO_TEST_PG_HOST="$pgdir" -DVELDARO_TEST_PG_PORT="${VELDARO_TEST_PG_PORT:-5439}" >/dev/null
ninja -C "$build"

# The core alone, in a configuration that does not look for Qt Widgets or
# PrintSupport: its rules, database operations and tests build and pass
# without a single window.
core_build="$root/build-core"
cmake -S "$root" -B "$core_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DVELDARO_GUI=OFF >/dev/null
ninja -C "$core_build"
ctest --test-dir "$core_build" --output-on-failure -j "$(nproc)" "$@"
# First as on a machine without a printer: a scheduler that is not there.
CUPS_SERVER="$cupsdir/none.sock" ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"

# Then the printing tests again with a PDF queue as the default printer:
# they must pass and must not have sent it a single job.
if [ $# -eq 0 ]; then
  export CUPS_SERVER
  CUPS_SERVER="$("$root/scripts/cups-queue.sh" start "$cupsdir")"
  ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -R 'ticket|report|reprint'
  jobs="$("$root/scripts/cups-queue.sh" jobs "$cupsdir")"
  if [ -n "$jobs" ]; then
    echo "the tests sent jobs to the default printer:" >&2
    echo "$jobs" >&2
    exit 1
  fi
fi
