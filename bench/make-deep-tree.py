#!/usr/bin/env python3
"""Builds a chain of LEVELS nested folders named NAME under DEST/deep, with one small
file at the bottom. Each folder is made relative to a descriptor on its parent
(mkdirat/openat), so building stays linear however deep the chain goes.

    make-deep-tree.py DEST LEVELS [NAME]
"""
import os
import sys


def main():
    dest, levels = sys.argv[1], int(sys.argv[2])
    name = sys.argv[3] if len(sys.argv) > 3 else "d"
    top = os.path.join(dest, "deep")
    os.makedirs(top)
    fd = os.open(top, os.O_RDONLY | os.O_DIRECTORY)
    for _ in range(levels):
        os.mkdir(name, dir_fd=fd)
        nxt = os.open(name, os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
        os.close(fd)
        fd = nxt
    leaf = os.open("leaf", os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=fd)
    os.write(leaf, b"x")
    os.close(leaf)
    os.close(fd)
    print(top)


if __name__ == "__main__":
    main()
