#!/usr/bin/env python3
"""makereleases.py ROOT PACK_MIB: three versions of a game under ROOT/v1, v2, v3.
v1: 400 text files, 100 incompressible blobs, a big pack (half text, half random) and an
8 MiB blob. v2, a typical release: 10 % of the small files changed (small text edits, a few
blobs rewritten), 4 KiB rewritten inside the big pack, the 8 MiB blob renamed, files removed
and added. v3: only a rename of the 8 MiB blob. Seeded."""
import os
import random
import shutil
import sys

root, pack_mib = sys.argv[1], int(sys.argv[2])
rng = random.Random(11)
words = b"tide harbour lantern coast ship rope salt gull anchor wave storm chart".split()


def text(n):
    out = bytearray()
    while len(out) < n:
        out += rng.choice(words) + str(rng.randrange(1000)).encode() + b" "
    return bytes(out[:n])


def blob(n):
    return rng.randbytes(n)


def write(base, rel, data):
    path = os.path.join(base, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


v1 = {}
for i in range(400):
    v1[f"text/{i // 50}/script{i}.txt"] = text(rng.randrange(2000, 40000))
for i in range(100):
    v1[f"blobs/{i // 20}/blob{i}.bin"] = blob(rng.randrange(20000, 200000))
half = (pack_mib << 20) // 2
v1["Data/world.pak"] = text(half) + blob(half)
v1["Data/music.bank"] = blob(8 << 20)

v2 = dict(v1)
small = sorted(k for k in v1 if k.startswith(("text/", "blobs/")))
for rel in rng.sample(small, len(small) // 10):
    data = bytearray(v2[rel])
    if rel.startswith("text/"):
        at = rng.randrange(len(data))
        data[at:at + 40] = text(120)
    else:
        data = blob(len(data))
    v2[rel] = bytes(data)
pack = bytearray(v2["Data/world.pak"])
at = rng.randrange(len(pack) - 4096)
pack[at:at + 4096] = blob(4096)
v2["Data/world.pak"] = bytes(pack)
v2["Audio/music.bank"] = v2.pop("Data/music.bank")
for rel in small[:3]:
    v2.pop(rel)
for i in range(3):
    v2[f"text/new/added{i}.txt"] = text(10000)

v3 = dict(v2)
v3["Audio/Banks/music.bank"] = v3.pop("Audio/music.bank")

for name, files in (("v1", v1), ("v2", v2), ("v3", v3)):
    shutil.rmtree(os.path.join(root, name), ignore_errors=True)
    for rel, data in files.items():
        write(os.path.join(root, name), rel, data)
