#!/bin/sh
# Runs a command with Wine's help viewer allowed: tools/with-wine.sh disables
# winhlp32.exe for every other test (it would wait on its own message boxes).
WINEDLLOVERRIDES=$(printf '%s' "${WINEDLLOVERRIDES:-}" | sed -e 's/winhlp32\.exe=d;\{0,1\}//')
export WINEDLLOVERRIDES
exec "$@"
