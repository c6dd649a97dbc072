#!/usr/bin/env python3
"""Writes the benchmark's file pairs into a directory.

    gen_pairs.py OUTDIR

Each pair is NAME.source.txt and NAME.master.txt. Fixed seeds: the same
pairs on every run and every machine.
"""
import os
import random
import sys

WORDS = ("count index value buffer result offset length state total item "
         "node entry next prev flags mode size first last text line row").split()


def code_line(rnd):
    """A line shaped like source code: indentation, words, braces, blanks."""
    kind = rnd.random()
    indent = " " * (4 * rnd.randint(0, 4))
    if kind < 0.08:
        return ""
    if kind < 0.16:
        return indent + rnd.choice("{}")
    words = [rnd.choice(WORDS) for _ in range(rnd.randint(2, 9))]
    number = rnd.randint(0, 99999)
    return f"{indent}{words[0]} = {' + '.join(words[1:])} * {number};"


def long_line(rnd):
    return " ".join(rnd.choice(WORDS) + str(rnd.randint(0, 999)) for _ in range(rnd.randint(30, 300)))


def changed_copy(rnd, lines, fraction, make_line):
    """A copy with about fraction of the lines changed at scattered places:
    mostly edited in place, some inserted, some deleted."""
    out = list(lines)
    positions = sorted(rnd.sample(range(len(lines)), int(len(lines) * fraction)), reverse=True)
    for at in positions:
        roll = rnd.random()
        if roll < 0.7:
            out[at] = make_line(rnd) + " /* edited */"
        elif roll < 0.85:
            out.insert(at, make_line(rnd))
        else:
            del out[at]
    return out


def words_pair():
    """95,864 lines of ten words and a number (CR LF when written), with
    " changed" appended to 1% of them on the Master side; startup_table.sh
    opens the same pair."""
    rnd = random.Random(7)
    words = "tide harbour quay moon spring neap chart buoy pier lock".split()
    source, master = [], []
    for n in range(95_864):
        line = " ".join(rnd.choice(words) for _ in range(10)) + " %d" % n
        source.append(line)
        master.append(line + " changed" if rnd.random() < 0.01 else line)
    return source, master


def write(path, lines, crlf=False):
    ending = "\r\n" if crlf else "\n"
    with open(path, "w", newline="") as f:
        f.write(ending.join(lines) + ending)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: gen_pairs.py OUTDIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)

    def pair(name, source, master):
        write(os.path.join(out, name + ".source.txt"), source)
        write(os.path.join(out, name + ".master.txt"), master)

    rnd = random.Random(1)
    source = [code_line(rnd) for _ in range(100_000)]
    pair("onepct", source, changed_copy(rnd, source, 0.01, code_line))

    rnd = random.Random(2)
    source = [long_line(rnd) for _ in range(10_000)]
    pair("longlines", source, changed_copy(rnd, source, 0.01, long_line))

    rnd = random.Random(3)
    pair("unrelated", [code_line(rnd) for _ in range(5_000)], [code_line(rnd) for _ in range(5_000)])

    rnd = random.Random(4)
    few = ["alpha", "beta", "gamma", "delta"]
    pair("shuffled", [rnd.choice(few) for _ in range(10_000)], [rnd.choice(few) for _ in range(10_000)])

    # Lone braces are trivial: every candidate's confirming run grows along
    # the whole alternating stretch before the last line refutes it, at every
    # distance. The search's worst case: quadratic in the stretch. (A stretch
    # of one repeated trivial line is stepped over in one go.)
    braces = ["{", "}"] * 2_500
    pair("braceruns", ["X"] + braces + ["Q"], ["Y"] + braces + ["R"])

    source, master = words_pair()
    write(os.path.join(out, "words.source.txt"), source, crlf=True)
    write(os.path.join(out, "words.master.txt"), master, crlf=True)


if __name__ == "__main__":
    main()
