#!/usr/bin/env bash
# Installs the Debian 12 packages Tagwarden needs to build, test, fuzz, run and package.
# Safe to run again: apt-get skips what is already there.
# Usage: scripts/install-deps.sh [windows]   ("windows" adds the cross compiler and Wine)
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libcli11-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth imagemagick
  # end-to-end journeys: accessibility bus and tree, a D-Bus session, X input
  python3 python3-pyatspi gir1.2-atspi-2.0 at-spi2-core dbus-daemon dbus-x11 xdotool
  # icons, manual pages, desktop and AppStream checks, the Debian package
  librsvg2-bin gzip groff-base man-db desktop-file-utils appstream lintian
)
if [ "${1:-}" = windows ]; then
  # the Windows build of the core and the command line, and Wine to test it
  packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
