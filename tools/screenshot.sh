#!/bin/bash
# Starts ORVINTA on a private Xvfb, waits for it to settle and saves a
# screenshot of the whole screen, cropped to the program's windows.
#   tools/screenshot.sh EXE OUTPUT.png [ORVINTA arguments...]
# ZEL_SHOT_PATTERN, when set, is the pattern text the directory window starts
# with (stored as its remembered "File Extensions" before the program starts).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "$1"); output=$(realpath -m "$2"); shift 2
prefix=$(dirname "$exe")/wineprefix
export ZEL_SHOT_EXE=$exe ZEL_SHOT_OUT=$output ZEL_SHOT_WAIT=${ZEL_SHOT_WAIT:-4} ZEL_SHOT_PATTERN=${ZEL_SHOT_PATTERN:-}
"$here/with-wine.sh" "$prefix" -- bash -c '
    key="HKCU\\Software\\Brindlecote Software\\ORVINTA"
    "$WINE" reg delete "$key" /f >/dev/null 2>&1
    if [ -n "$ZEL_SHOT_PATTERN" ]; then
        "$WINE" reg add "$key\\Position" /v FileExtensions /d "$ZEL_SHOT_PATTERN" /f >/dev/null 2>&1
    fi
    "$WINE" "$ZEL_SHOT_EXE" "$@" </dev/null >/dev/null 2>&1 &
    sleep "$ZEL_SHOT_WAIT"
    import -window root -trim +repage "$ZEL_SHOT_OUT"
' screenshot "$@"
echo "saved $output"
