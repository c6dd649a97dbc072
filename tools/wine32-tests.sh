#!/bin/bash
# Runs the i686 test executables under 32-bit Wine where this machine can
# (wine32 installed and its loader starting a 32-bit program); elsewhere it
# says so in one line and succeeds, since the tests were still compiled.
#
#   tools/wine32-tests.sh [BUILD_TREE]     (default build/win32)
set -uo pipefail
tree=${1:-build/win32}
loader=${WINE32_LOADER:-/usr/lib/wine/wine}

skip() {
    echo "i686 tests: built, not run: $1"
    exit 0
}

[ -x "$loader" ] || skip "no 32-bit Wine here ($loader missing; install wine32:i386)"
"$loader" --version >/dev/null 2>&1 || skip "the 32-bit Wine loader cannot start on this machine"

export WINE=$loader
export WINESERVER=${WINESERVER32:-/usr/lib/wine/wineserver32}
export WINEARCH=win32
# One trivial 32-bit program first: a prefix that cannot run it would fail
# every test for a reason that is not ours.
exec tools/with-wine.sh "$tree/wineprefix" "$tree/keepalive.exe" -- sh -c '
    "$WINE" "$1/unit_tests.exe" --version >/dev/null 2>&1 ||
        { echo "i686 tests: built, not run: 32-bit Wine does not start a 32-bit program"; exit 0; }
    ctest --test-dir "$1" --output-on-failure' sh "$tree"
