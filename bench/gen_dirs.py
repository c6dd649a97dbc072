#!/usr/bin/env python3
"""Writes the directory benchmark's pairs into a directory.

    gen_dirs.py OUTDIR

OUTDIR/small/{source,master}: a flat pair of 10,000 small files per side
(100 bytes to 8 KB): most equal with equal times, 300 of equal size whose
contents differ at one byte and whose Master copy is an hour newer, and 300
on one side only (150 each side).
OUTDIR/large/{source,master}: 300 files of 256 KB to 1.5 MB per side, 60 of
them differing at one byte (a third near the start, a third in the middle,
a third at the very end), 10 on one side only.

Fixed seeds: the same pairs on every run and every machine.
"""
import os
import random
import sys

STAMP = 1_700_000_000  # a fixed last-write time, 2023


def write(path, data, stamp):
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, (stamp, stamp))


def make_pair(root, count, sizes, differing, lone, rnd, name):
    src = os.path.join(root, "source")
    mst = os.path.join(root, "master")
    os.makedirs(src)
    os.makedirs(mst)
    order = list(range(count))
    rnd.shuffle(order)
    differ = set(order[:differing])
    source_only = set(order[differing:differing + lone // 2])
    master_only = set(order[differing + lone // 2:differing + lone])
    for i in range(count):
        data = rnd.randbytes(rnd.randint(*sizes))
        fname = name(i)
        if i not in master_only:
            write(os.path.join(src, fname), data, STAMP)
        if i in source_only:
            continue
        stamp = STAMP
        if i in differ:
            where = (0, len(data) // 2, len(data) - 1)[i % 3]
            data = bytearray(data)
            data[where] ^= 0x5A
            data = bytes(data)
            stamp = STAMP + 3600
        write(os.path.join(mst, fname), data, stamp)


def main():
    out = sys.argv[1]
    exts = ("c", "h", "cpp", "txt", "rc", "def", "md", "")
    rnd = random.Random(9)
    make_pair(os.path.join(out, "small"), 10_000, (100, 8192), 300, 300, rnd,
              lambda i: f"file{i:05d}" + ("." + exts[i % len(exts)] if exts[i % len(exts)] else ""))
    rnd = random.Random(10)
    make_pair(os.path.join(out, "large"), 300, (256 * 1024, 1536 * 1024), 60, 20, rnd,
              lambda i: f"big{i:03d}.bin")


if __name__ == "__main__":
    main()
