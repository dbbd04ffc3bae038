#!/usr/bin/env python3
"""Writes a reproducible benchmark payload (python3 standard library only).

    make-payload.py [--seed N] small|large OUT_DIR

small: 2 000 files of 1 to 64 KiB (uniform in 1 024..65 536 bytes), 100 in
       each of 20 folders dir00..dir19 (about 66 MB). The content is mildly
       compressible text: letters, spaces and line ends drawn independently
       with roughly English letter frequencies (about 4.2 bits of information
       per byte; zlib keeps a little over half of it).
large: 20 files of 10 MiB each in the folder data/, incompressible
       pseudo-random bytes.

Every byte (contents and sizes) comes from SHAKE-256 of the seed and the
file's name, so the same seed always gives the same files, whatever the
Python version or machine. OUT_DIR is replaced as a whole.
"""
import argparse
import hashlib
import os
import shutil
import sys

KIB = 1024


def stream(seed, label, size):
    """size pseudo-random bytes determined by the seed and the label."""
    return hashlib.shake_256(f"corvane-bench/{seed}/{label}".encode()).digest(size)


def text_table():
    """256 entries mapping a random byte to a character: letters with roughly
    English frequencies, spaces and line ends."""
    counts = [(" ", 40), ("\n", 4),
              ("e", 28), ("t", 21), ("a", 18), ("o", 16), ("i", 15), ("n", 14),
              ("s", 13), ("h", 12), ("r", 12), ("d", 9), ("l", 8), ("c", 6),
              ("u", 6), ("m", 5), ("w", 4), ("f", 4), ("g", 4), ("y", 4), ("p", 3),
              ("b", 3), ("v", 2), ("k", 1), ("j", 1), ("x", 1), ("q", 1), ("z", 1)]
    table = "".join(ch * n for ch, n in counts).encode()
    assert len(table) == 256, len(table)
    return table


def small(seed, out):
    table = text_table()
    count, folders = 2000, 20
    raw = stream(seed, "sizes", 4 * count)
    files = []
    for i in range(count):
        span = 64 * KIB - 1 * KIB + 1
        size = 1 * KIB + int.from_bytes(raw[4 * i:4 * i + 4], "little") % span
        rel = os.path.join(f"dir{i % folders:02d}", f"f{i:04d}.txt")
        files.append((rel, size))
    for rel, size in files:
        data = stream(seed, rel, size).translate(table)
        write(out, rel, data)
    return files


def large(seed, out):
    files = []
    for i in range(20):
        rel = os.path.join("data", f"blob{i:02d}.bin")
        write(out, rel, stream(seed, rel, 10 * KIB * KIB))
        files.append((rel, 10 * KIB * KIB))
    return files


def write(out, rel, data):
    path = os.path.join(out, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--seed", type=int, default=20240601)
    p.add_argument("kind", choices=["small", "large"])
    p.add_argument("out")
    a = p.parse_args()
    tmp = a.out.rstrip("/") + ".tmp"
    shutil.rmtree(tmp, ignore_errors=True)
    files = (small if a.kind == "small" else large)(a.seed, tmp)
    shutil.rmtree(a.out, ignore_errors=True)
    os.rename(tmp, a.out)
    total = sum(size for _, size in files)
    print(f"{a.kind}: {len(files)} files, {total} bytes, seed {a.seed}", file=sys.stderr)


if __name__ == "__main__":
    main()
