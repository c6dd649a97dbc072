#!/bin/sh
# Times dirbench (scan, pair and every status, as the directory window does)
# against diff -rq on the same generated directory pairs, as whole processes,
# in one hyperfine run per pair, and prints the ratios. Before timing, checks
# that dirbench --list by contents reports what diff -rq reports.
#   bench/run_dirbench.sh [BUILD_DIR]     (default build/native)
# Then the same for whole trees (dirbench --recursive against diff -rq): a
# generated pair (gen_tree.py) and, inside a git checkout, this repository's
# own tree at its first and its last commit.
# Needs python3 and hyperfine; build first:
#   cmake -S . -B build/native && cmake --build build/native --target dirbench
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
bench=$build/bench/dirbench
if [ ! -x "$bench" ]; then
    echo "run_dirbench.sh: $bench not found; build the dirbench target first" >&2
    exit 2
fi
command -v hyperfine >/dev/null || { echo "run_dirbench.sh: hyperfine is not installed" >&2; exit 2; }

data=$(mktemp -d "${TMPDIR:-/tmp}/zelvane_dirbench.XXXXXX")
trap 'rm -rf "$data"' EXIT INT TERM
python3 "$root/bench/gen_dirs.py" "$data"

for pair in small large; do
    s=$data/$pair/source
    m=$data/$pair/master
    echo "== $pair: $(ls "$s" | wc -l) and $(ls "$m" | wc -l) files, $(du -sh "$data/$pair" | cut -f1)" >&2
    "$bench" --list --method 1 --repeat 1 "$s" "$m" >"$data/$pair.list"
    diff -rq "$s" "$m" >"$data/$pair.diff" || true
    python3 - "$data/$pair.list" "$data/$pair.diff" "$s" "$m" <<'EOF_CHECK'
import sys
listing, diffed, s, m = sys.argv[1:]
ours = set(l.strip() for l in open(listing) if not l.startswith(("same ", "rows=")))
theirs = set()
for l in open(diffed):
    l = l.rstrip("\n")
    if l.startswith("Files "):
        theirs.add("differs " + l[len("Files " + s + "/"):].split(" and ")[0])
    elif l.startswith("Only in " + s + ": "):
        theirs.add("source-only " + l[len("Only in " + s + ": "):])
    elif l.startswith("Only in " + m + ": "):
        theirs.add("master-only " + l[len("Only in " + m + ": "):])
if ours != theirs:
    sys.exit("dirbench --list and diff -rq disagree: %s" % sorted(ours ^ theirs)[:10])
print("   dirbench --list agrees with diff -rq on %d rows that are not the same" % len(ours), file=sys.stderr)
EOF_CHECK
    if [ -x /usr/bin/time ]; then
        largest=$(ls -S "$s" | head -1)
        /usr/bin/time -f "   dirbench --method 1 peak memory: %M KB (largest file $(($(stat -c %s "$s/$largest") / 1024)) KB)" \
            "$bench" --method 1 --repeat 1 "$s" "$m" >/dev/null
    fi
    # diff exits 1 when the directories differ, hence --ignore-failure.
    hyperfine --shell=none --ignore-failure --warmup 3 --min-runs 15 --style basic \
        --export-json "$data/$pair.json" \
        -n "dirbench method 0" "$bench --repeat 1 --method 0 $s $m" \
        -n "dirbench method 1" "$bench --repeat 1 --method 1 $s $m" \
        -n "diff -rq" "diff -rq $s $m" >&2
done

# Memory stays bounded by the read blocks: a pair of sparse 1 GB files that
# differ only in their last byte.
if [ -x /usr/bin/time ]; then
    mkdir -p "$data/huge/source" "$data/huge/master"
    for side in source master; do
        truncate -s 1G "$data/huge/$side/huge.bin"
    done
    printf 'x' | dd of="$data/huge/master/huge.bin" bs=1 seek=$((1024 * 1024 * 1024 - 1)) conv=notrunc status=none
    /usr/bin/time -f "== huge: two 1 GB files differing in the last byte: %e s, peak memory %M KB" \
        "$bench" --list --method 1 --repeat 1 "$data/huge/source" "$data/huge/master" >&2
fi

python3 - "$data" <<'EOF'
import json, sys, os
data = sys.argv[1]
print("| pair | dirbench method 0 (times) | dirbench method 1 (contents) | diff -rq | method 0 / diff | method 1 / diff |")
print("|---|---:|---:|---:|---:|---:|")
for pair in ("small", "large"):
    with open(os.path.join(data, pair + ".json")) as f:
        t = {r["command"]: r["median"] * 1000 for r in json.load(f)["results"]}
    m0, m1, d = (t[k] for k in ("dirbench method 0", "dirbench method 1", "diff -rq"))
    print(f"| {pair} | {m0:.1f} ms | {m1:.1f} ms | {d:.1f} ms | {m0 / d:.2f}x | {m1 / d:.2f}x |")
EOF

# Whole trees: the "Only in" lines of diff -rq name folders; they are expanded
# to the files they hold before the two lists are compared.
python3 "$root/bench/gen_tree.py" "$data"
if git -C "$root" rev-parse HEAD >/dev/null 2>&1; then
    mkdir -p "$data/repo/source" "$data/repo/master"
    git -C "$root" archive "$(git -C "$root" rev-list --max-parents=0 HEAD | tail -1)" | tar -x -C "$data/repo/source"
    git -C "$root" archive HEAD | tar -x -C "$data/repo/master"
fi
trees="tree"
[ -d "$data/repo" ] && trees="tree repo"
for pair in $trees; do
    s=$data/$pair/source
    m=$data/$pair/master
    echo "== $pair: $(find "$s" -type f | wc -l) and $(find "$m" -type f | wc -l) files in $(find "$s" -type d | wc -l) and $(find "$m" -type d | wc -l) folders" >&2
    "$bench" --recursive --list --method 1 --repeat 1 "$s" "$m" >"$data/$pair.list"
    diff -rq "$s" "$m" >"$data/$pair.diff" || true
    python3 - "$data/$pair.list" "$data/$pair.diff" "$s" "$m" <<'EOF_CHECK'
import os, sys
listing, diffed, s, m = sys.argv[1:]
ours = set(l.strip() for l in open(listing) if not l.startswith(("same ", "rows=")))
theirs = set()
def only(kind, root, line):
    folder, name = line.split(": ", 1)
    path = os.path.join(folder, name)
    if os.path.isdir(path):
        for top, _, files in os.walk(path):
            theirs.update(kind + " " + os.path.relpath(os.path.join(top, f), root) for f in files)
    else:
        theirs.add(kind + " " + os.path.relpath(path, root))
for l in open(diffed):
    l = l.rstrip("\n")
    if l.startswith("Files "):
        theirs.add("differs " + os.path.relpath(l[len("Files "):].split(" and ")[0], s))
    elif l.startswith("Only in " + s):
        only("source-only", s, l[len("Only in "):])
    elif l.startswith("Only in " + m):
        only("master-only", m, l[len("Only in "):])
if ours != theirs:
    sys.exit("dirbench --recursive --list and diff -rq disagree: %s" % sorted(ours ^ theirs)[:10])
print("   dirbench --recursive --list agrees with diff -rq on %d files that are not the same" % len(ours), file=sys.stderr)
EOF_CHECK
    hyperfine --shell=none --ignore-failure --warmup 3 --min-runs 15 --style basic \
        --export-json "$data/$pair.json" \
        -n "dirbench method 0" "$bench --recursive --repeat 1 --method 0 $s $m" \
        -n "dirbench method 1" "$bench --recursive --repeat 1 --method 1 $s $m" \
        -n "diff -rq" "diff -rq $s $m" >&2
done
python3 - "$data" $trees <<'EOF'
import json, sys, os
data = sys.argv[1]
print()
print("| trees (--recursive) | dirbench method 0 (times) | dirbench method 1 (contents) | diff -rq | method 0 / diff | method 1 / diff |")
print("|---|---:|---:|---:|---:|---:|")
for pair in sys.argv[2:]:
    with open(os.path.join(data, pair + ".json")) as f:
        t = {r["command"]: r["median"] * 1000 for r in json.load(f)["results"]}
    m0, m1, d = (t[k] for k in ("dirbench method 0", "dirbench method 1", "diff -rq"))
    print(f"| {pair} | {m0:.1f} ms | {m1:.1f} ms | {d:.1f} ms | {m0 / d:.2f}x | {m1 / d:.2f}x |")
EOF
