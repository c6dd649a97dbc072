#!/usr/bin/env python3
"""Writes the recursive directory benchmark's pair of trees.

    gen_tree.py OUTDIR

OUTDIR/tree/{source,master}: 10,000 small files (100 bytes to 8 KB) a side in
100 folders (10 top-level folders of 9 subfolders each, files at both
levels): 300 pairs of equal size differing at one byte (the Master copy an
hour newer), 150 files on each side only, and one folder of 40 files on the
Source side only. Fixed seed.
"""
import os
import random
import sys

STAMP = 1_700_000_000


def write(path, data, stamp):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    os.utime(path, (stamp, stamp))


def main():
    root = os.path.join(sys.argv[1], "tree")
    src, mst = os.path.join(root, "source"), os.path.join(root, "master")
    rnd = random.Random(19)
    folders = []
    for top in range(10):
        folders.append(f"mod{top}")
        folders += [f"mod{top}/part{sub}" for sub in range(9)]
    exts = ("c", "h", "cpp", "txt", "")
    count = 10_000
    order = list(range(count))
    rnd.shuffle(order)
    differ = set(order[:300])
    source_only = set(order[300:450])
    master_only = set(order[450:600])
    for i in range(count):
        ext = exts[i % len(exts)]
        rel = f"{folders[i % len(folders)]}/file{i:05d}" + ("." + ext if ext else "")
        data = rnd.randbytes(rnd.randint(100, 8192))
        if i not in master_only:
            write(os.path.join(src, rel), data, STAMP)
        if i in source_only:
            continue
        stamp = STAMP
        if i in differ:
            data = bytearray(data)
            data[len(data) // 2] ^= 0x5A
            data, stamp = bytes(data), STAMP + 3600
        write(os.path.join(mst, rel), data, stamp)
    for i in range(40):
        write(os.path.join(src, "mod0", "extra", f"only{i:02d}.c"), rnd.randbytes(500), STAMP)


if __name__ == "__main__":
    main()
