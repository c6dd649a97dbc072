#!/bin/sh
# Times diffbench against GNU diff on the same generated pairs, as whole
# processes, in one hyperfine run per pair, and prints the ratios.
#   bench/run_bench.sh [BUILD_DIR]     (default build/native)
# RUNS (default 40) sets how many times hyperfine runs each command.
# With BASELINE=/path/to/an/older/diffbench it also times that binary in the
# same runs and prints a before/after table (e.g. before and after a change).
# Needs python3 and hyperfine; build first:
#   cmake -S . -B build/native && cmake --build build/native --target diffbench
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
bench=$build/bench/diffbench
if [ ! -x "$bench" ]; then
    echo "run_bench.sh: $bench not found; build the diffbench target first" >&2
    exit 2
fi
runs=${RUNS:-40}
command -v hyperfine >/dev/null || { echo "run_bench.sh: hyperfine is not installed" >&2; exit 2; }

data=$(mktemp -d "${TMPDIR:-/tmp}/zelvane_bench.XXXXXX")
trap 'rm -rf "$data"' EXIT INT TERM
python3 "$root/bench/gen_pairs.py" "$data"

for pair in onepct words longlines unrelated shuffled braceruns; do
    s=$data/$pair.source.txt
    m=$data/$pair.master.txt
    echo "== $pair: $(wc -l <"$s") and $(wc -l <"$m") lines, $(cat "$s" "$m" | wc -c) bytes" >&2
    # diff exits 1 when the files differ, hence --ignore-failure.
    hyperfine --shell=none --ignore-failure --warmup 3 --runs "$runs" --style basic \
        --export-json "$data/$pair.json" \
        -n "diffbench mode 0" "$bench --repeat 1 --whitespace 0 $s $m" \
        -n "diff -b" "diff -b $s $m" \
        -n "diffbench mode 2" "$bench --repeat 1 --whitespace 2 $s $m" \
        -n "diff" "diff $s $m" \
        -n "diffbench mode 1" "$bench --repeat 1 --whitespace 1 $s $m" >&2
    if [ -n "${BASELINE:-}" ]; then
        hyperfine --shell=none --warmup 3 --runs "$runs" --style basic \
            --export-json "$data/$pair.baseline.json" \
            -n "before mode 0" "$BASELINE --repeat 1 --whitespace 0 $s $m" \
            -n "after mode 0" "$bench --repeat 1 --whitespace 0 $s $m" \
            -n "before mode 2" "$BASELINE --repeat 1 --whitespace 2 $s $m" \
            -n "after mode 2" "$bench --repeat 1 --whitespace 2 $s $m" >&2
    fi
done

python3 - "$data" <<'EOF'
import json, sys, os
data = sys.argv[1]
print("| pair | diffbench mode 0 | diff -b | ratio | diffbench mode 2 | diff | ratio | diffbench mode 1 |")
print("|---|---:|---:|---:|---:|---:|---:|---:|")
for pair in ("onepct", "words", "longlines", "unrelated", "shuffled", "braceruns"):
    with open(os.path.join(data, pair + ".json")) as f:
        t = {r["command"]: r["median"] * 1000 for r in json.load(f)["results"]}
    m0, db, m2, d, m1 = (t[k] for k in ("diffbench mode 0", "diff -b", "diffbench mode 2", "diff", "diffbench mode 1"))
    print(f"| {pair} | {m0:.1f} ms | {db:.1f} ms | {m0 / db:.2f}x | {m2:.1f} ms | {d:.1f} ms | {m2 / d:.2f}x | {m1:.1f} ms |")
EOF

[ -n "${BASELINE:-}" ] || exit 0
python3 - "$data" <<'EOF'
import json, sys, os
data = sys.argv[1]
print()
print("| pair | before mode 0 | after mode 0 | after / before | before mode 2 | after mode 2 | after / before |")
print("|---|---:|---:|---:|---:|---:|---:|")
for pair in ("onepct", "words", "longlines", "unrelated", "shuffled", "braceruns"):
    with open(os.path.join(data, pair + ".baseline.json")) as f:
        t = {r["command"]: r["median"] * 1000 for r in json.load(f)["results"]}
    b0, a0, b2, a2 = (t[k] for k in ("before mode 0", "after mode 0", "before mode 2", "after mode 2"))
    print(f"| {pair} | {b0:.1f} ms | {a0:.1f} ms | {a0 / b0:.2f} | {b2:.1f} ms | {a2:.1f} ms | {a2 / b2:.2f} |")
EOF
