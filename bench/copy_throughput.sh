#!/bin/sh
# Copy throughput of a 200 MB file: the program's copy (CopySelected with its
# progress dialog, under Wine) against cp on the same machine, same file and
# same disk, each replacing an existing target. The program flushes the copy
# to disk before it replaces the target, so cp is timed plain and followed by
# a sync of the copy.
# With BASELINE set to an older copy_throughput.exe, that one runs too, in
# the same Wine session on the same file, right after the current one.
#   [BASELINE=OLD.exe] bench/copy_throughput.sh [WIN64_BUILD_DIR] [SIZE_MB] [RUNS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
size=${2:-200}
runs=${3:-7}
cmake --build "$build" --target copy_throughput >/dev/null
data=$(mktemp -d "${TMPDIR:-/tmp}/zelvane_copy.XXXXXX")
trap 'rm -rf "$data"' EXIT INT TERM
mkdir "$data/from" "$data/to"
head -c "${size}M" /dev/urandom > "$data/from/big.bin"
cp -p "$data/from/big.bin" "$data/to/big.bin" # same times: no newer-target question

stats() { sort -n | awk '{ v[NR] = $1 } END { printf "min_ms=%s median_ms=%s", v[1], v[int((NR + 1) / 2)] }'; }
now_ms() { date +%s%N | awk '{ printf "%.1f", $1 / 1000000 }'; }
cp_plain=""; cp_sync=""
for run in $(seq "$runs"); do
    start=$(now_ms); cp "$data/from/big.bin" "$data/to/cp.bin"; end=$(now_ms)
    cp_plain="$cp_plain $(echo "$end - $start" | bc)"
    rm -f "$data/to/cp.bin"
    start=$(now_ms); cp "$data/from/big.bin" "$data/to/cp.bin"; sync "$data/to/cp.bin"; end=$(now_ms)
    cp_sync="$cp_sync $(echo "$end - $start" | bc)"
    rm -f "$data/to/cp.bin"
done

# Wine's drive Z: is the Linux root.
from_win="Z:$(echo "$data/from" | tr / '\\')"
to_win="Z:$(echo "$data/to" | tr / '\\')"
baseline=${BASELINE:+"echo '--- baseline:'; \"\$WINE\" '$BASELINE' '$from_win' '$to_win' big.bin $runs"}
out=$("$root/tools/with-wine.sh" "$build/wineprefix" "$build/keepalive.exe" -- sh -c \
    "\"\$WINE\" '$build/bench/copy_throughput.exe' '$from_win' '$to_win' big.bin $runs; ${baseline:-true}")
echo "$out"
cmp -s "$data/from/big.bin" "$data/to/big.bin" && echo "copy verified: identical bytes"
echo "cp $(echo "$cp_plain" | tr ' ' '\n' | grep . | stats)"
echo "cp+sync $(echo "$cp_sync" | tr ' ' '\n' | grep . | stats)"
