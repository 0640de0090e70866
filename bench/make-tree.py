#!/usr/bin/env python3
"""Builds the finders' benchmark tree: a home folder with the six personal folders,
200 000 files in about 10 000 folders, about 5 GB, the same bytes on every run (fixed seed).

What it holds, and why:
  * small files (up to 4096 bytes): walked by every tool, compared by none;
  * many files between 4097 bytes and 1 MiB whose sizes collide by chance but whose
    contents differ in the first bytes;
  * duplicate groups of 2 to 5 copies at several sizes (4097 bytes, small, medium,
    several MiB, 64 MiB), spread over different personal folders;
  * pairs of equal size that agree on their first 64 KiB and differ later;
  * a few files of 10 to 120 MB for the large-file search;
  * hidden files and hidden folders, and package folders (".app", ".photoslibrary",
    ".xcodeproj", …), all holding copies of visible files: Tidvale ignores both, the
    reference tools only the hidden ones, so the check removes package entries from
    their output;
  * symbolic links to files and folders, which no tool follows.

Usage: make-tree.py DEST   (DEST/home is created; an existing DEST/home is kept when
its marker says it was built by this same version, so a second run is instant)
"""
import os
import random
import sys

VERSION = "2"
TOTAL_FILES = 200_000
FOLDERS = ["Downloads", "Documents", "Desktop", "Pictures", "Movies", "Music"]
PACKAGES = ["Editor.app", "Fotos.photoslibrary", "Proyecto.xcodeproj", "Notas.rtfd",
            "Informe.pages", "Herramienta.framework"]

rng = random.Random(20261206)
POOL = rng.randbytes(72 << 20)  # content is sliced from here, after a unique header
made = 0


def content(ident, size):
    """Distinct bytes for each ident: the ident leads, so equal sizes differ at once."""
    head = (b"%012d|" % ident)[:size]
    rest = size - len(head)
    if rest <= 0:
        return head
    if rest < len(POOL):
        start = (ident * 7919) % (len(POOL) - rest)
        return head + POOL[start:start + rest]
    out = bytearray(head)
    start = (ident * 7919) % len(POOL)
    out += POOL[start:]
    while len(out) < size:
        out += POOL[:size - len(out)]
    return bytes(out)


def write(path, data):
    global made
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    made += 1


def log_uniform(lo, hi):
    import math
    return int(math.exp(rng.uniform(math.log(lo), math.log(hi))))


def random_folder(home, visible=True):
    top = rng.choice(FOLDERS)
    depth = rng.randint(1, 3)  # about 10 000 folders, 20 files each
    parts = [top] + ["d%02d" % rng.randint(0, 14 if i == 0 else 9) for i in range(depth)]
    if not visible:
        parts.insert(rng.randint(1, len(parts)), rng.choice([".cache", ".oculto", ".git"]))
    return os.path.join(home, *parts)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    home = os.path.join(os.path.abspath(sys.argv[1]), "home")
    marker = os.path.join(home, ".tidvale-bench-tree")
    if os.path.exists(marker) and open(marker).read() == VERSION:
        print(home)
        return
    if os.path.exists(home):
        sys.exit(f"{home} exists but was not built by this version; remove it first")
    ident = 0

    def nid():
        nonlocal ident
        ident += 1
        return ident

    def dup_group(size, copies):
        data = content(nid(), size)
        paths = []
        for c in range(copies):
            p = os.path.join(random_folder(home), "copia%d-%d.bin" % (ident, c))
            write(p, data)
            paths.append(p)
        return data, paths

    # Duplicate groups of several sizes, and the 4096/4097 boundary.
    samples = []
    for _ in range(40):
        write(os.path.join(random_folder(home), "limite-%d-a" % ident), content(nid(), 4096))
        d = content(ident, 4096)
        write(os.path.join(random_folder(home), "limite-%d-b" % ident), d)
    for shape in [(3000, 4097, 65536, 2, 4), (600, 65537, 1 << 20, 2, 3),
                 (30, 1 << 20, 10 << 20, 2, 5), (2, 64 << 20, 64 << 20, 2, 2)]:
        count, lo, hi, cmin, cmax = shape
        for _ in range(count):
            data, _ = dup_group(log_uniform(lo, hi), rng.randint(cmin, cmax))
            if len(samples) < 400:
                samples.append(data)
    # Equal size, equal first 64 KiB, different later.
    for _ in range(400):
        size = log_uniform(65536 + 16, 1 << 20)
        a = bytearray(content(nid(), size))
        b = bytearray(a)
        pos = rng.randint(65536, size - 1)
        b[pos] ^= 0xFF
        write(os.path.join(random_folder(home), "tardio-%d-a.dat" % ident), a)
        write(os.path.join(random_folder(home), "tardio-%d-b.dat" % ident), b)
    # Large files for the large-file search.
    for i in range(6):
        write(os.path.join(random_folder(home), "grande-%d.mov" % i),
              content(nid(), rng.randint(10_000_000, 60_000_000)))
    # Hidden entries and package folders holding copies of visible files.
    for i, data in enumerate(samples):
        write(os.path.join(random_folder(home, visible=False), "copia-oculta-%d" % i), data)
        write(os.path.join(random_folder(home), ".copia-%d" % i), data)
        pkg = os.path.join(random_folder(home), PACKAGES[i % len(PACKAGES)], "Contents")
        write(os.path.join(pkg, "Resources", "dentro-%d.bin" % i), data)
    for i in range(3):
        write(os.path.join(home, FOLDERS[i], PACKAGES[i], "grande.bin"),
              content(nid(), 80_000_000))
    # Links, never followed by any tool.
    for i in range(50):
        link = os.path.join(random_folder(home), "enlace-%d" % i)
        os.makedirs(os.path.dirname(link), exist_ok=True)
        if not os.path.lexists(link):
            os.symlink(os.path.join(home, FOLDERS[i % 6]) if i % 2 else
                       os.path.join(home, "Documents"), link)
    # The rest: unique files, most small, their sizes colliding by chance.
    while made < TOTAL_FILES:
        r = rng.random()
        if r < 0.25:
            size = rng.randint(1, 4096)
        elif r < 0.895:
            size = log_uniform(4097, 32768)
        elif r < 0.995:
            size = log_uniform(32768, 128 << 10)
        else:
            size = log_uniform(256 << 10, 4 << 20)
        write(os.path.join(random_folder(home), "f%06d.dat" % nid()), content(ident, size))
    with open(marker, "w") as f:
        f.write(VERSION)
    print(home)


if __name__ == "__main__":
    main()
