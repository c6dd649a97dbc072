#!/bin/bash
# Runs a command inside one prepared Wine session: a private 32-bit prefix,
# a display (a private Xvfb unless --display keeps the caller's), a warm
# wineserver kept alive by a sleeping process, and a clean shutdown at the end.
#
#   tools/with-wine.sh [--display] PREFIX_DIR [KEEPALIVE_EXE] -- command args...
set -uo pipefail

use_own_display=0
if [ "${1:-}" = "--display" ]; then use_own_display=1; shift; fi
prefix_dir=$1; shift
keepalive=""
if [ "${1:-}" != "--" ]; then keepalive=$1; shift; fi
[ "${1:-}" = "--" ] && shift

export WINEPREFIX
WINEPREFIX=$(realpath -m "$prefix_dir")
# This machine's kernel runs no 32-bit Linux programs, so Wine's 32-bit loader
# cannot start: tests run the x86_64 build under the 64-bit loader.
export WINE=${WINE:-/usr/lib/wine/wine64}
export WINELOADER=$WINE
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
export WINESERVER
export WINEARCH=${WINEARCH:-win64}
export WINEDEBUG=${WINEDEBUG:--all,err+module}
# WinHelp would block on its own message box; the rest keep the prefix small.
export WINEDLLOVERRIDES="winhlp32.exe=d;winemenubuilder.exe=d;mscoree,mshtml="

xvfb_pid=""
cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1
    wait >/dev/null 2>&1
}
trap cleanup EXIT

if [ $use_own_display = 0 ] || [ -z "${DISPLAY:-}" ]; then
    [ $use_own_display = 1 ] && echo "with-wine.sh: no DISPLAY; using a private Xvfb" >&2
    for n in $(seq 91 140); do
        [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 1 100); do
            [ -e /tmp/.X11-unix/X$n ] && break
            sleep 0.05
        done
        if kill -0 "$xvfb_pid" 2>/dev/null && [ -e /tmp/.X11-unix/X$n ]; then
            export DISPLAY=:$n
            break
        fi
        xvfb_pid=""
    done
    [ -n "$xvfb_pid" ] || { echo "with-wine.sh: could not start Xvfb" >&2; exit 2; }
fi

if [ ! -f "$WINEPREFIX/.zelvane-ready" ]; then
    echo "with-wine.sh: preparing Wine prefix $WINEPREFIX (once)" >&2
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1
    # Without a window manager, managed windows cost seconds to hide or close.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crash exits with a status and a backtrace instead of waiting on a dialog.
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # The raster "Courier" and "MS Sans Serif" come from fonts-wine.
    if [ -d /usr/share/wine/fonts ]; then
        ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    fi
    "$WINESERVER" -w
    touch "$WINEPREFIX/.zelvane-ready"
fi

if [ -n "$keepalive" ] && [ -f "$keepalive" ]; then
    "$WINE" "$keepalive" </dev/null >/dev/null 2>&1 &
fi
# Bring Wine's own services up now, with nothing of ours on their standard
# output: a service started by the first test would hold the test runner's
# pipe open, and the runner would wait for it to the timeout.
"$WINE" wineboot </dev/null >/dev/null 2>&1

"$@"
exit $?
