#!/bin/bash
# Runs the installer's tests in a Wine prefix made afresh for every run, apart
# from the one the other tests share: an installation must find a machine
# where nothing of Zelvane was ever registered.
#
#   tests/installer/run.sh BUILD_DIR [doctest options...]
set -uo pipefail
build=$(realpath "$1"); shift
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$build/installer-prefix

rm -rf "$prefix"
"$root/tools/with-wine.sh" "$prefix" "$build/keepalive.exe" -- \
    "$root/cmake/wine-run.sh" "$build/installer_tests/installer_tests.exe" "$@"
