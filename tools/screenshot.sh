#!/bin/bash
# Makes the pictures of every ORVINTA window, dialog and menu, and of the
# first printed page, from the example directories:
#
#   tools/screenshot.sh BUILD_DIR OUTPUT_DIR      (make screenshot: build/win64 docs/pictures)
#
# SCREENSHOTS.EXE (tools/screenshots/) opens each one on a private Xvfb on
# copies of examples/ in the Wine prefix (C:\Zelvane\Source and
# C:\Zelvane\Master, so the pictures show short paths and the repository is
# never written) and saves it as it is on screen; this script turns those
# into PNGs. Printing needs root for the CUPS queue (tools/with-printer.sh);
# without it the printed page is left out with a note.
set -euo pipefail
shopt -s nullglob
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
output=$(realpath -m "$2")
work=$build/screenshots
rm -rf "$work"
mkdir -p "$work/bitmaps" "$work/printed" "$output"

# The file times in the pictures are shown in this zone, wherever they are made.
export TZ=UTC
export ZEL_SHOT_EXE=$build/SCREENSHOTS.EXE ZEL_SHOT_WORK=$work ZEL_SHOT_EXAMPLES=$here/../examples
export ZEL_SHOT_TOOLS=$here ZEL_SHOT_BITMAPS="Z:$(printf '%s' "$work/bitmaps" | tr / '\\')"
status=0
"$here/with-wine.sh" "$build/wineprefix" "$build/keepalive.exe" -- "$here/../tests/help/with-winhelp.sh" bash -c '
    key="HKCU\\Software\\Brindlecote Software\\ORVINTA"
    "$WINE" reg delete "$key" /f >/dev/null 2>&1
    examples=$WINEPREFIX/drive_c/Zelvane
    rm -rf "$examples" && mkdir -p "$examples"
    cp -pr "$ZEL_SHOT_EXAMPLES/source" "$examples/Source"
    cp -pr "$ZEL_SHOT_EXAMPLES/master" "$examples/Master"
    # One fixed time for every file: the pictures do not change with the
    # checkout time, and pairs of equal size and time show as equal.
    find "$examples" -type f -exec touch -d "2026-03-02 09:30 UTC" {} +
    shots=("$WINE" "$ZEL_SHOT_EXE" "$ZEL_SHOT_BITMAPS" "C:\\Zelvane\\Source" "C:\\Zelvane\\Master")
    "$ZEL_SHOT_TOOLS/with-printer.sh" "$ZEL_SHOT_WORK/printed" -- "${shots[@]}"
    status=$?
    if [ $status -eq 77 ]; then "${shots[@]}"; status=$?; fi
    exit $status
' || status=$?

bitmaps=("$work"/bitmaps/*.bmp)
if [ ${#bitmaps[@]} -eq 0 ]; then
    echo "screenshot.sh: no pictures were made; docs left as they were" >&2
    exit 1
fi
rm -f "$output"/*.png
for bitmap in "$work"/bitmaps/*.bmp; do
    [ -e "$bitmap" ] || continue
    name=$(basename "$bitmap" .bmp)
    # No time chunks: a picture that did not change stays the same file.
    convert "$bitmap" -strip -define png:exclude-chunks=date,time "$output/$name.png"
done

# cups-pdf writes the job a moment after the program has handed it over.
pdf=""
if [ -n "$(ls -A "$work/printed" 2>/dev/null)" ] || [ "$(id -u)" -eq 0 ]; then
    for _ in $(seq 1 100); do
        pdf=$(find "$work/printed" -name 'tides.c*.pdf' -size +0 2>/dev/null | head -n 1)
        [ -n "$pdf" ] && break
        sleep 0.2
    done
fi
if [ -n "$pdf" ]; then
    pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$pdf" "$output/printed-page"
    echo "picture printed-page"
else
    echo "screenshot.sh: no printed page (printing needs root and cups-pdf)" >&2
fi

# A picture of one flat colour is a window that never painted.
for picture in "$output"/*.png; do
    colours=$(identify -format '%k' "$picture")
    if [ "$colours" -lt 3 ]; then
        echo "screenshot.sh: $(basename "$picture") has $colours colours: not painted" >&2
        status=1
    fi
done
echo "saved $(ls "$output"/*.png | wc -l) pictures in $output"
exit $status
