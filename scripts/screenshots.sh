#!/usr/bin/env bash
# Makes the pictures of the user guide (docs/guide/pictures/*.png): the program
# on the offscreen platform, on a fresh home with the demo plant, opens each
# window of the office's day and grabs it.
#   scripts/screenshots.sh [folder]     default docs/guide/pictures
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/guide/pictures}"
"$root/scripts/install-deps.sh"

build="$root/build"
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" veldaro >/dev/null

home="$(mktemp -d /tmp/veldaro-pictures.XXXXXX)"
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
mkdir -p "$out"
run() {
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" LANG=ko_KR.UTF-8 \
    QT_QPA_PLATFORM=offscreen VELDARO_DATA_DIR="$build/share/veldaro" \
    VELDARO_PRINT_TO_PDF="$home/pdf" "$build/bin/veldaro" "$@"
}
run --demo-data --quit
run --screenshots "$out"
ls "$out"
