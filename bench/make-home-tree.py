#!/usr/bin/env python3
"""Builds a deterministic, home-like tree for the size benchmarks.

200 000 files (by default) in nested folders, with hidden entries, symbolic links
(to files, to folders, dangling and looping), and odd names: quotes, backslashes,
newlines and invalid UTF-8. File contents are sparse: the walk only reads sizes, so
the tree costs little disk while its logical size is several gigabytes.

usage: make-home-tree.py DEST [FILES]
"""
import os
import random
import sys

ODD = [b'quote"d', b"back\\slash", b"new\nline", b"\xff\xfe-invalid", b"sp ace", b"emoji-\xf0\x9f\x97\x91"]


def main():
    dest = os.fsencode(sys.argv[1])
    total = int(sys.argv[2]) if len(sys.argv) > 2 else 200_000
    rng = random.Random(20261206)
    os.makedirs(dest, exist_ok=True)
    folders = [dest]
    made = 0
    logical = 0
    while made < total:
        parent = rng.choice(folders)
        depth = parent.count(b"/") - dest.count(b"/")
        if depth < 12 and rng.random() < 0.08:
            name = b"." + b"d%d" % len(folders) if rng.random() < 0.1 else b"d%d" % len(folders)
            path = os.path.join(parent, name)
            os.mkdir(path)
            folders.append(path)
            continue
        r = rng.random()
        if r < 0.1:
            name = b".f%d" % made
        elif r < 0.12:
            name = rng.choice(ODD) + b"%d" % made
        else:
            name = b"f%d.dat" % made
        path = os.path.join(parent, name)
        if rng.random() < 0.02 and made > 10:
            kind = rng.random()
            target = rng.choice(folders) if kind < 0.5 else b"/nonexistent/%d" % made
            if kind > 0.9:
                target = parent  # a loop back to its own folder
            os.symlink(target, path)
            logical += len(target)
        else:
            size = int(rng.paretovariate(1.2) * 2000) if rng.random() < 0.9 else rng.randrange(0, 64)
            size = min(size, 200_000_000)
            with open(path, "wb") as f:
                f.truncate(size)
            logical += size
        made += 1
    print(f"{made} entries, {len(folders)} folders, {logical} logical bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
