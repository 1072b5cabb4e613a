#!/usr/bin/env bash
# Builds everything and runs every test: on the embedded SQLite database
# and, on a throw-away PostgreSQL cluster, the database suite again.
# Fails when any test fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --tests

pgdir="$(mktemp -d /tmp/veldaro-pg.XXXXXX)"
cupsdir="$(mktemp -d /tmp/veldaro-cups.XXXXXX)"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
installed=""
trap '"$root/scripts/pg-cluster.sh" stop "$pgdir"; "$root/scripts/cups-queue.sh" stop "$cupsdir"; [ -z "$installed" ] || $sudo dpkg -r veldaro >/dev/null' EXIT
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

# The menu entry and the AppStream data, then the package from the build
# above (nothing compiled again): installed, started as a user would on a
# fresh home (the offscreen platform, the demo plant written, --quit), removed.
if [ $# -eq 0 ]; then
  desktop-file-validate "$root/resources/desktop/kr.vorn.veldaro.desktop"
  appstreamcli validate --no-net --explain "$root/resources/desktop/kr.vorn.veldaro.metainfo.xml"
  deb="$("$root/scripts/package.sh" | tail -1)"
  installed=1
  $sudo dpkg -i "$deb" >/dev/null
  /usr/bin/veldaro --version
  home="$(mktemp -d /tmp/veldaro-home.XXXXXX)"
  mkdir -m 700 "$home/run"
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 /usr/bin/veldaro --demo-data --quit
  [ -s "$home/.local/share/vorn/dodaviv/rc_db.sqlite" ] || { echo "the installed program made no database in $home" >&2; exit 1; }
  rm -rf "$home"
  $sudo dpkg -r veldaro >/dev/null
  installed=""
  [ ! -e /usr/bin/veldaro ] || { echo "dpkg -r left /usr/bin/veldaro" >&2; exit 1; }
  echo "package $(basename "$deb"): installed, started, removed"
fi

# The program as the office starts it: logged in, the console up, every
# window of the day opened through its menu entry or button and closed (the
# guide's pictures, made into a throw-away folder).
if [ $# -eq 0 ]; then
  shots="$(mktemp -d /tmp/veldaro-shots.XXXXXX)"
  "$root/scripts/screenshots.sh" "$shots" >/dev/null
  pictures="$(find "$shots" -name '*.png' | wc -l)"
  [ "$pictures" -ge 15 ] || { echo "the window tour made $pictures pictures, not 15" >&2; exit 1; }
  rm -rf "$shots"
  echo "window tour: $pictures windows opened and closed"
fi
