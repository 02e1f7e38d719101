#!/usr/bin/env bash
# Installs, from Debian 12's own packages, everything the build and the tests need. Run as root; does nothing
# when everything is already there. (The browser tests' one npm package, playwright-core, comes from the npm
# registry as tests/browser/package-lock.json pins it; scripts/test.sh installs it there.)
set -euo pipefail

packages=(
  g++ cmake ninja-build make git
  libgtest-dev googletest libbenchmark-dev nlohmann-json3-dev libcli11-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386
  librsvg2-bin icoutils pkg-config libboost-dev zlib1g-dev libsqlite3-dev python3
  inkscape imagemagick
  clang-14 libclang-rt-14-dev ccache
  chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# The browser tests run on Node.js and npm. Debian's packages are named nodejs and npm; a Node.js installed
# another way that already brings node and npm along is used as it is.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; run this script as root to install them" >&2
  exit 1
fi
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
