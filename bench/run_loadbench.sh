#!/bin/sh
# Times loading a 50 MB UTF-16 file (converted to the UTF-8 store on load)
# against loading a 50 MB UTF-8 file of the same lines, with diffbench
# --load-only, and prints the ratio (goal: at most 2x).
#   bench/run_loadbench.sh [BUILD_DIR] [RUNS]     (default build/native, 15)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
runs=${2:-15}
bench=$build/bench/diffbench
if [ ! -x "$bench" ]; then
    echo "run_loadbench.sh: $bench not found; build the diffbench target first" >&2
    exit 2
fi

data=$(mktemp -d "${TMPDIR:-/tmp}/zelvane_loadbench.XXXXXX")
trap 'rm -rf "$data"' EXIT INT TERM
python3 - "$data" <<'PY'
import random, sys, os
random.seed(17)
words = ["int", "return", "value", "Grüße", "aus", "Köln", "Übung", "straße", "Отчёт", "日本",
         "count", "buffer", "line", "€", "naïve", "if", "for", "(", ")", "{", "}", ";", "=", "+"]
lines = []
for k in range(20000):
    lines.append("    " * random.randint(0, 3) + " ".join(random.choice(words) for _ in range(random.randint(2, 14))))
text = "\r\n".join(lines) + "\r\n"
size = 50 * 1000 * 1000
def fill(encoded, unit):
    times = size // len(encoded) + 1
    data = (encoded * times)[:size]
    return data[: len(data) - len(data) % unit]
with open(os.path.join(sys.argv[1], "utf8.txt"), "wb") as f:
    f.write(fill(text.encode("utf-8"), 1))
with open(os.path.join(sys.argv[1], "utf16.txt"), "wb") as f:
    f.write(b"\xff\xfe" + fill(text.encode("utf-16-le"), 2)[:size - 2])
PY
# Warm the page cache, then take the medians of the runs.
cat "$data/utf8.txt" "$data/utf16.txt" >/dev/null
u8=$("$bench" --load-only --repeat "$runs" "$data/utf8.txt")
u16=$("$bench" --load-only --repeat "$runs" "$data/utf16.txt")
echo "UTF-8,  $(wc -c <"$data/utf8.txt") bytes: $u8"
echo "UTF-16, $(wc -c <"$data/utf16.txt") bytes: $u16"
python3 - "$u8" "$u16" <<'PY'
import sys
ms = [float(a.rsplit("load_ms=", 1)[1]) for a in sys.argv[1:]]
print(f"UTF-16 / UTF-8 load time: {ms[1] / ms[0]:.2f}x")
PY
