#!/usr/bin/env bash
# Builds the program and starts it on the embedded database.
#   scripts/run.sh          start
#   scripts/run.sh --demo   fill an empty database (and a missing settings file) with the demo plant first
# Other arguments go to the program (see build/bin/veldaro --help).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

build="$root/build"
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
ninja -C "$build" veldaro

args=()
for a in "$@"; do
  if [ "$a" = "--demo" ]; then args+=(--demo-data); else args+=("$a"); fi
done
exec "$build/bin/veldaro" "${args[@]}"
