#!/bin/bash
# What a user waits for under Wine, against the platform's own floor, in one
# run: process creation to "painted" (bench/paint_timer.cpp) for a plain
# window with a status bar and for ORVINTA in each case, five runs each,
# medians, and each case's distance from the floor. The rescan and by-contents
# cases also give the program's own phase times (ZELVANE_TIMINGS) and the
# longest the window kept a message waiting meanwhile.
#   bench/startup_table.sh [WIN_BUILD_DIR]     (default build/win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win64}
runs=${RUNS:-5}
cmake --build "$build" --target orvinta paint_timer floor_window read_all >/dev/null
data=$(mktemp -d "${TMPDIR:-/tmp}/zelvane_startup.XXXXXX")
trap 'rm -rf "$data"' EXIT INT TERM
python3 "$root/bench/gen_tree.py" "$data" >/dev/null
python3 - "$data" "$root/bench" <<'PY'
import os, random, sys
out, bench = sys.argv[1], sys.argv[2]
sys.path.insert(0, bench)
import gen_dirs
import gen_pairs
exts = ("c", "h", "cpp", "txt", "rc", "def", "md", "")
gen_dirs.make_pair(os.path.join(out, "dirs"), 10_000, (100, 8192), 300, 300, random.Random(9),
                   lambda i: f"file{i:05d}" + ("." + exts[i % len(exts)] if exts[i % len(exts)] else ""))
def names(top):
    found = set()
    for folder, _, files in os.walk(top):
        found |= {os.path.relpath(os.path.join(folder, f), top).lower() for f in files}
    return found
both = sorted(set(os.listdir(os.path.join(out, "dirs", "source"))) & set(os.listdir(os.path.join(out, "dirs", "master"))))
open(os.path.join(out, "dirs.common"), "w").write(both[0])
for pair in ("dirs", "tree"):
    rows = names(os.path.join(out, pair, "source")) | names(os.path.join(out, pair, "master"))
    open(os.path.join(out, pair + ".rows"), "w").write(str(len(rows)))
source, master = gen_pairs.words_pair()
gen_pairs.write(out + "/big.source.txt", source, crlf=True)
gen_pairs.write(out + "/big.master.txt", master, crlf=True)
open(out + "/small.source.txt", "w", newline="").write("a\r\nb\r\nc\r\n")
open(out + "/small.master.txt", "w", newline="").write("a\r\nx\r\nc\r\n")
PY
"$root/tools/with-wine.sh" "$build/wineprefix" "$build/keepalive.exe" -- bash -c '
    set -e
    build=$1; data=$2; runs=$3
    dirRows=$(cat "$data/dirs.rows"); treeRows=$(cat "$data/tree.rows"); common=$(cat "$data/dirs.common")
    position="HKCU\\Software\\Brindlecote Software\\ORVINTA\\Position"
    preferences="HKCU\\Software\\Brindlecote Software\\ORVINTA\\Preferences"
    setting() { "$WINE" reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1; }
    "$WINE" reg add "$position" /v FileExtensions /d "*.*" /f >/dev/null 2>&1
    setting "$position" FileType 1
    setting "$preferences" PreserveHowCompare 1
    setting "$preferences" HowCompare 0
    setting "$preferences" IncludeSubdirectories 0
    setting "$preferences" MonitorChanges 1
    win() { "$WINE" winepath -w "$1" 2>/dev/null; }
    timer="$build/bench/paint_timer.exe"
    orvinta=$(win "$build/ORVINTA.EXE")
    median() { sort -n | awk "{ v[NR] = \$1 } END { print v[int((NR + 1) / 2)] }"; }
    # The gap between the last "from" mark and the "to" mark after it.
    phase() { awk -F"\t" -v from="$2" -v to="$3" "\$1 == from { start = \$2 } \$1 == to && start != \"\" { gap = \$2 - start } END { print gap + 0 }" "$1"; }
    measure() {
        local label=$1; shift
        local values=""
        for _ in $(seq "$runs"); do values+="$("$WINE" "$timer" "$@")"$'\''\n'\''; done
        printf "%s\t%s\n" "$label" "$(printf "%s" "$values" | median)"
    }
    # One case with the window watched after painting: painted, the phase
    # from..to in the marks, the longest wait for an answer; medians of each.
    watched() {
        local label=$1 from=$2 to=$3; shift 3
        local painted="" phases="" waits=""
        for _ in $(seq "$runs"); do
            marks=$(mktemp "$data/marks.XXXXXX")
            read -r p w < <(ZELVANE_TIMINGS=$(win "$marks") WINEDEBUG=-all "$WINE" "$timer" "$@")
            painted+="$p"$'\''\n'\''; waits+="$w"$'\''\n'\''
            phases+="$(phase "$marks" "$from" "$to")"$'\''\n'\''
        done
        printf "%s\t%s\t%s\t%s\n" "$label" "$(printf "%s" "$painted" | median)" \
            "$(printf "%s" "$phases" | median)" "$(printf "%s" "$waits" | median)"
    }
    src=$(win "$data/dirs/source"); mst=$(win "$data/dirs/master")
    {
        measure floor -- "$(win "$build/bench/floor_window.exe")"
        measure "directory window, 10,000 files a side ($dirRows rows)" --rows "$dirRows" --class SysListView32 -- \
            "$orvinta" "$src" "$mst"
        setting "$preferences" IncludeSubdirectories 1
        measure "the same in tree mode, a 10,000-file tree ($treeRows rows)" --rows "$treeRows" --class SysListView32 -- \
            "$orvinta" "$(win "$data/tree/source")" "$(win "$data/tree/master")"
        setting "$preferences" IncludeSubdirectories 0
        measure "comparison window, 3 lines" --class ZelvaneTextPane -- \
            "$orvinta" "$(win "$data/small.source.txt")" "$(win "$data/small.master.txt")"
        measure "comparison window, 95,864 lines" --class ZelvaneTextPane -- \
            "$orvinta" "$(win "$data/big.source.txt")" "$(win "$data/big.master.txt")"
    } | awk -F"\t" "NR == 1 { floor = \$2 } { printf \"| %s | %.0f ms | floor + %.0f ms |\n\", \$1, \$2, \$2 - floor }"
    # A change on each side once the change watches have begun (3 s after
    # painting); the rescan is the program s own "rescan" to "rescan done"
    # (the monitor s 500 ms settling not counted).
    watched "rescan of both sides by times after a change" "rescan" "rescan done" --rows "$dirRows" \
        --class SysListView32 --settle 3000 --touch "$src\\$common" --touch "$mst\\$common" --watch 3000 -- \
        "$orvinta" "$src" "$mst" |
        awk -F"\t" "{ printf \"| %s | %.0f ms | longest wait for an answer %.0f ms |\n\", \$1, \$3, \$4 }"
    setting "$preferences" HowCompare 1
    watched "by contents" "reading" "reading done" --rows "$dirRows" --class SysListView32 --watch 120000 \
        --until-mark "reading done" -- "$orvinta" "$src" "$mst" |
        awk -F"\t" "{ printf \"| by contents: rows shown | %.0f ms | |\n| by contents: statuses read | %.0f ms | longest wait for an answer %.0f ms |\n\", \$2, \$3, \$4 }"
    setting "$preferences" HowCompare 0
    plain=""
    for _ in $(seq "$runs"); do plain+="$("$WINE" "$build/bench/read_all.exe" "$src" "$mst" | cut -d" " -f1)"$'\''\n'\''; done
    printf "| a plain program reading both sides whole | %.0f ms | |\n" "$(printf "%s" "$plain" | median)"
' _ "$build" "$data" "$runs"
