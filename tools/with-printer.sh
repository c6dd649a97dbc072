#!/bin/bash
# Runs a command with a PDF printer as the default printer: starts the CUPS
# scheduler when it is not running, makes a cups-pdf queue "PDF" the default
# destination, and points cups-pdf's output at a folder of our own, exported
# to the command as ZEL_PDF_DIR. Needs root (the scheduler and its settings
# are the machine's); exits 77 (skipped) with the reason when it cannot.
#
#   tools/with-printer.sh PDF_DIR -- command args...
set -uo pipefail

pdf_dir=$(realpath -m "$1"); shift
[ "${1:-}" = "--" ] && shift

skip() { echo "with-printer.sh: $*; printing tests skipped" >&2; exit 77; }

for tool in /usr/sbin/cupsd lpadmin lpstat; do
    command -v "$tool" >/dev/null || skip "$tool is missing (packages cups and printer-driver-cups-pdf)"
done
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "the cups-pdf backend is missing (package printer-driver-cups-pdf)"
[ "$(id -u)" -eq 0 ] || skip "configuring the CUPS scheduler needs root"

mkdir -p "$pdf_dir" && chmod 1777 "$pdf_dir"
# cups-pdf writes each job into Out, as the user who printed it.
conf=/etc/cups/cups-pdf.conf
if ! grep -qx "Out $pdf_dir" "$conf"; then
    sed -i -e '/^Out /d' "$conf"
    echo "Out $pdf_dir" >> "$conf"
fi

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    mkdir -p /run/cups
    # In the foreground, so that this script knows the scheduler it started
    # and stops it again at the end.
    /usr/sbin/cupsd -f >/dev/null 2>&1 &
    cups_pid=$!
    trap 'kill "$cups_pid" 2>/dev/null; wait "$cups_pid" 2>/dev/null' EXIT
    for _ in $(seq 1 100); do
        lpstat -r 2>/dev/null | grep -q "is running" && break
        sleep 0.1
    done
    lpstat -r 2>/dev/null | grep -q "is running" || skip "the CUPS scheduler does not answer"
fi

if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null ||
        skip "lpadmin could not create the cups-pdf queue"
fi
lpadmin -d PDF
cupsenable PDF 2>/dev/null
cupsaccept PDF 2>/dev/null

# Inside a Wine session (tools/with-wine.sh), the printed fonts "Courier New"
# and "Arial" become their metric twins from fonts-liberation; without this
# Wine falls back to a proportional face and the columns no longer line up.
if [ -n "${WINEPREFIX:-}" ] && [ -n "${WINE:-}" ]; then
    key='HKCU\Software\Wine\Fonts\Replacements'
    "$WINE" reg add "$key" /v "Courier New" /d "Liberation Mono" /f >/dev/null 2>&1
    "$WINE" reg add "$key" /v "Arial" /d "Liberation Sans" /f >/dev/null 2>&1
fi

export ZEL_PDF_DIR=$pdf_dir
"$@"
exit $?
