#!/bin/bash
# Runs the installer's tests in a Wine prefix made afresh for every run, apart
# from the one the other tests share: an installation must find a machine
# where nothing of Zelvane was ever registered. The i686 tree's tests run under
# 32-bit Wine (tools/wine32-tests.sh, a 32-bit prefix); there the shipped x86
# installer must also serve a 64-bit Windows, so they run a second time in a
# 64-bit prefix, where they run as 32-bit programs under WoW64.
#
#   tests/installer/run.sh BUILD_DIR [doctest options...]
set -uo pipefail
build=$(realpath "$1"); shift
root=$(cd "$(dirname "$0")/../.." && pwd)

run_in() {
    local prefix=$1; shift
    rm -rf "$prefix"
    "$root/tools/with-wine.sh" "$prefix" "$build/keepalive.exe" -- \
        "$root/cmake/wine-run.sh" "$build/installer_tests/installer_tests.exe" "$@"
}

run_in "$build/installer-prefix" "$@" || exit $?
if [ "${WINEARCH:-win64}" = win32 ]; then
    echo "installer tests: the x86 installer in a 64-bit prefix"
    WINEARCH=win64 WINE=${WINE64_LOADER:-/usr/lib/wine/wine64} WINESERVER=${WINESERVER64:-/usr/lib/wine/wineserver64} \
        run_in "$build/installer-prefix64" "$@"
fi
