#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian 12's packages.
# Does nothing when everything is there already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite libqt6sql6-psql libgl1-mesa-dev libpq-dev
  libxlsxwriter-dev
  fonts-nanum
)
if [ "${1:-}" = "--tests" ]; then
  # cups: the printing tests run once more with a default printer.
  # ccache: the core-only configuration reuses the full build's objects.
  # dpkg-dev, appstream, desktop-file-utils: the package, its menu entry and metadata checked.
  # python3-jsonschema: the tickets' data files are checked against their schema.
  # unzip: the tests read the saved workbooks back.
  packages+=(postgresql socat poppler-utils cups-daemon cups-client ccache dpkg-dev appstream desktop-file-utils
             python3-jsonschema unzip)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
