#!/bin/bash
# What a user waits for under Wine, against the platform's own floor, in one
# run: process creation to "painted" (bench/paint_timer.cpp) for a plain
# window with a status bar and for ORVINTA in each case, five runs each,
# medians, and each case's distance from the floor.
#   bench/startup_table.sh [WIN_BUILD_DIR]     (default build/win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
runs=${RUNS:-5}
cmake --build "$build" --target orvinta paint_timer floor_window >/dev/null
data=$(mktemp -d "${TMPDIR:-/tmp}/zelvane_startup.XXXXXX")
trap 'rm -rf "$data"' EXIT INT TERM
python3 - "$data" "$root/bench" <<'PY'
import os, random, sys
out, bench = sys.argv[1], sys.argv[2]
sys.path.insert(0, bench)
import gen_dirs
import gen_pairs
exts = ("c", "h", "cpp", "txt", "rc", "def", "md", "")
gen_dirs.make_pair(os.path.join(out, "dirs"), 10_000, (100, 8192), 300, 300, random.Random(9),
                   lambda i: f"file{i:05d}" + ("." + exts[i % len(exts)] if exts[i % len(exts)] else ""))
names = set(os.listdir(os.path.join(out, "dirs", "source"))) | set(os.listdir(os.path.join(out, "dirs", "master")))
open(os.path.join(out, "rows"), "w").write(str(len(names)))
source, master = gen_pairs.words_pair()
gen_pairs.write(out + "/big.source.txt", source, crlf=True)
gen_pairs.write(out + "/big.master.txt", master, crlf=True)
open(out + "/small.source.txt", "w", newline="").write("a\r\nb\r\nc\r\n")
open(out + "/small.master.txt", "w", newline="").write("a\r\nx\r\nc\r\n")
PY
rows=$(cat "$data/rows")
"$root/tools/with-wine.sh" "$build/wineprefix" "$build/keepalive.exe" -- bash -c '
    set -e
    build=$1; data=$2; rows=$3; runs=$4
    key="HKCU\\Software\\Brindlecote Software\\ORVINTA\\Position"
    "$WINE" reg add "$key" /v FileExtensions /d "*.*" /f >/dev/null 2>&1
    "$WINE" reg add "$key" /v FileType /t REG_DWORD /d 1 /f >/dev/null 2>&1
    win() { "$WINE" winepath -w "$1" 2>/dev/null; }
    timer="$build/bench/paint_timer.exe"
    median() { sort -n | awk "{ v[NR] = \$1 } END { print v[int((NR + 1) / 2)] }"; }
    measure() {
        local label=$1; shift
        local values=""
        for _ in $(seq "$runs"); do values+="$("$WINE" "$timer" "$@")"$'\''\n'\''; done
        printf "%s\t%s\n" "$label" "$(printf "%s" "$values" | median)"
    }
    {
        measure floor -- "$(win "$build/bench/floor_window.exe")"
        measure "directory window, 10,000 files a side ($rows rows)" --rows "$rows" --class SysListView32 -- \
            "$(win "$build/ORVINTA.EXE")" "$(win "$data/dirs/source")" "$(win "$data/dirs/master")"
        measure "comparison window, 3 lines" --class ZelvaneTextPane -- \
            "$(win "$build/ORVINTA.EXE")" "$(win "$data/small.source.txt")" "$(win "$data/small.master.txt")"
        measure "comparison window, 95,864 lines" --class ZelvaneTextPane -- \
            "$(win "$build/ORVINTA.EXE")" "$(win "$data/big.source.txt")" "$(win "$data/big.master.txt")"
    } | awk -F"\t" "NR == 1 { floor = \$2 } { printf \"| %s | %.0f ms | floor + %.0f ms |\n\", \$1, \$2, \$2 - floor }"
' _ "$build" "$data" "$rows" "$runs"
