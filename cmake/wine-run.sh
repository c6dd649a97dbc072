#!/bin/sh
# Runs one Windows executable under Wine inside the session that
# tools/with-wine.sh prepared (display, private prefix, warm wineserver).
if [ -z "$WINEPREFIX" ] || [ -z "$DISPLAY" ]; then
    echo "wine-run.sh: run through tools/with-wine.sh (WINEPREFIX and DISPLAY are not set)" >&2
    exit 2
fi
exec "${WINE:-/usr/lib/wine/wine64}" "$@"
