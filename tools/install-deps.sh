#!/bin/bash
# Installs the Debian packages that building, running and testing need, plus
# any named on the command line (screenshots want imagemagick, benchmarks
# hyperfine); does nothing when they are all there.
set -euo pipefail

packages=(cmake make g++ doctest-dev
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          wine wine64 xvfb xauth fonts-wine fonts-liberation fonts-dejavu-core
          python3
          nsis
          cups printer-driver-cups-pdf poppler-utils
          halibut libchm-bin
          "$@")

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
echo "install-deps.sh: installing ${missing[*]}" >&2
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
