#!/usr/bin/env python3
"""Checks the finders' output against the reference tools' on the benchmark tree.

  compare.py dupes TIDVALE_JSON NAME=GROUPS_TXT...   (fdupes-style text: one path per
                                                      line, groups separated by blank lines)
  compare.py large TIDVALE_JSON FIND_TXT

Tidvale leaves out package folders (".app" and the like) and the reference tools do
not, so their entries inside packages are dropped before comparing; hidden entries
are left out by every tool already. Exits 1 on any difference."""
import json
import sys

PACKAGE_SUFFIXES = (".app", ".photoslibrary", ".xcodeproj", ".rtfd", ".pages",
                    ".framework")  # every package kind the tree generator makes


def in_package(path):
    return any(part.lower().endswith(PACKAGE_SUFFIXES) for part in path.split("/")[:-1])


def visible(path):
    return not in_package(path) and not any(
        part.startswith(".") for part in path.split("/")[1:])


def text_groups(path):
    groups, current = [], []
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        for line in f.read().split("\n"):
            if line.strip():
                current.append(line)
            elif current:
                groups.append(current)
                current = []
    if current:
        groups.append(current)
    return groups


def normalise(groups):
    out = set()
    for g in groups:
        kept = frozenset(p for p in g if not in_package(p))
        if len(kept) >= 2:
            out.add(kept)
    return out


def dupes(tidvale_json, references):
    ours = json.load(open(tidvale_json))
    mine = {frozenset(g["files"]) for g in ours["groups"]}
    if any(len(g) != len(set(g)) for g in (x["files"] for x in ours["groups"])):
        print("tidvale listed one path twice in a group")
        return 1
    status = 0
    for reference in references:
        name, path = reference.split("=", 1)
        theirs = normalise(text_groups(path))
        if theirs == mine:
            print(f"  {name}: the same {len(mine)} groups "
                  f"({sum(len(g) for g in mine)} files)")
            continue
        status = 1
        print(f"  {name}: DIFFERENT: {len(mine - theirs)} groups only in tidvale, "
              f"{len(theirs - mine)} only in {name}")
        for g in list(mine - theirs)[:3]:
            print("    tidvale only:", sorted(g))
        for g in list(theirs - mine)[:3]:
            print(f"    {name} only:", sorted(g))
    return status


def large(tidvale_json, find_txt):
    mine = [item["path"] for item in json.load(open(tidvale_json))]
    with open(find_txt, encoding="utf-8", errors="surrogateescape") as f:
        theirs = {p for p in f.read().split("\n") if p and visible(p)}
    if set(mine) == theirs and len(mine) == len(set(mine)):
        print(f"  find: the same {len(mine)} files")
        return 0
    print(f"  find: DIFFERENT: {sorted(set(mine) - theirs)[:5]} only in tidvale, "
          f"{sorted(theirs - set(mine))[:5]} only in find")
    return 1


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "dupes":
        sys.exit(dupes(sys.argv[2], sys.argv[3:]))
    if len(sys.argv) == 4 and sys.argv[1] == "large":
        sys.exit(large(sys.argv[2], sys.argv[3]))
    sys.exit(__doc__)
