#!/usr/bin/env bash
# Makes the Debian package build/package/veldaro_<version>_<arch>.deb with CPack.
# Uses build/ as scripts/test.sh left it (nothing is compiled again); without
# it, configures build/ and compiles only what the package holds.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps is missing (Debian package dpkg-dev)" >&2; exit 1; }

build="$root/build"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
ninja -C "$build" veldaro batch_simulator
rm -rf "$build/package"
(cd "$build" && cpack -G DEB --config CPackConfig.cmake >/dev/null)
ls "$build"/package/*.deb
