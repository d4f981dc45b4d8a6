#!/usr/bin/env python3
"""makegame.py FOLDER SIZE_MIB: a game folder of 2000 files and 4 large ones (60 % of the size),
each half text-like (compressible) and half random. Seeded, apart from the random halves."""
import os
import random
import sys

root, size = sys.argv[1], int(sys.argv[2]) << 20
rng = random.Random(7)
words = b"tide harbour lantern coast ship rope salt gull anchor wave storm chart".split()
text = b" ".join(rng.choice(words) + str(rng.randrange(1000)).encode() for _ in range(400000))


def content(n):
    half = n // 2
    start = rng.randrange(len(text) - half) if half < len(text) else 0
    return (text * (1 + half // len(text)))[start:start + half] + os.urandom(n - half)


def write(path, n):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(content(n))


large = size * 6 // 10
for i in range(4):
    write(f"{root}/Kestrava_Data/large{i}.pak", large // 4)
small = (size - large) // 2000
for i in range(2000):
    write(f"{root}/assets/{i % 40:02d}/asset{i:04d}.bin", max(1, int(small * rng.uniform(0.2, 1.8))))
