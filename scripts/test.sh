#!/usr/bin/env bash
# Builds everything and runs every test: on the embedded SQLite database
# and, on a throw-away PostgreSQL cluster, the database suite again.
# Fails when any test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --tests

pgdir="$(mktemp -d /tmp/veldaro-pg.XXXXXX)"
trap '"$root/scripts/pg-cluster.sh" stop "$pgdir"' EXIT
"$root/scripts/pg-cluster.sh" start "$pgdir"

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELDARO_TEST_PG_HOST="$pgdir" -DVELDARO_TEST_PG_PORT="${VELDARO_TEST_PG_PORT:-5439}" >/dev/null
ninja -C "$build"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
