#!/bin/sh
# Times the comparison window under Wine: process start to the first painted
# rows, paging from top to bottom with Page Down, and closing, on a pair of
# 60,000-line files (1% changed) and on a small pair.
#   bench/first_paint.sh [WIN64_BUILD_DIR]     (default build/win64)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
cmake --build "$build" --target first_paint >/dev/null
data=$(mktemp -d "${TMPDIR:-/tmp}/zelvane_paint.XXXXXX")
trap 'rm -rf "$data"' EXIT INT TERM
python3 - "$data" <<'PY'
import random, sys
random.seed(7)
out = sys.argv[1]
words = "tide harbour quay moon spring neap chart buoy pier lock".split()
source, master = [], []
for n in range(60000):
    line = " ".join(random.choice(words) for _ in range(6)) + " %d" % n
    source.append(line)
    master.append(line + " changed" if random.random() < 0.01 else line)
open(out + "/big.source.txt", "w", newline="").write("\r\n".join(source) + "\r\n")
open(out + "/big.master.txt", "w", newline="").write("\r\n".join(master) + "\r\n")
open(out + "/small.source.txt", "w", newline="").write("a\r\nb\r\nc\r\n")
open(out + "/small.master.txt", "w", newline="").write("a\r\nx\r\nc\r\n")
PY
"$root/tools/with-wine.sh" "$build/wineprefix" "$build/keepalive.exe" -- sh -c "
    echo '60,000 lines:'; \"\$WINE\" '$build/bench/first_paint.exe' '$data/big.source.txt' '$data/big.master.txt'
    echo '3 lines:'; \"\$WINE\" '$build/bench/first_paint.exe' '$data/small.source.txt' '$data/small.master.txt'
"
