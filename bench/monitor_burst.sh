#!/bin/sh
# The change monitor under Wine: delay from a change to its rescan, and what
# a burst of 1,000 writes turns into (messages posted, rescans after the
# 500 ms merge).
#   bench/monitor_burst.sh [WIN64_BUILD_DIR] [CHANGES]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
changes=${2:-1000}
cmake --build "$build" --target monitor_burst >/dev/null
"$root/tools/with-wine.sh" "$build/wineprefix" "$build/keepalive.exe" -- sh -c \
    "\"\$WINE\" '$build/bench/monitor_burst.exe' $changes"
