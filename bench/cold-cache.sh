#!/usr/bin/env bash
# Times tidvale-cli against reference tools on the scan a user waits for: the first one
# after a reboot, when every folder and file comes from the disk. The page cache is
# dropped before every cold run; each round runs Tidvale and its reference in turn,
# cold and then warm, so that other load on the machine falls on both alike. Prints
# the medians and Tidvale's time as a fraction of the reference's.
#
#   sudo bench/cold-cache.sh [DEST] [ROUNDS]     (defaults: /tmp/tidvale-cold, 5)
#
# Needs root: dropping the page cache writes /proc/sys/vm/drop_caches.
# BASELINE_CLI=/path/to/an/older/tidvale-cli adds that build to every round.
#
# Each pair does the same work on the same tree:
#   size   `tidvale-cli size T` and `du -sb --apparent-size -l T` on the 200 000-entry
#          home tree of make-home-tree.py: both read every entry, hidden ones too, and
#          count hard links each time; du also adds the folders' own sizes.
#   dupes  `tidvale-cli --json dupes H` and `jdupes -r -q -A -X size+:4096 H` on the
#          finders' tree of make-tree.py (duplicate groups of 4 KiB to 64 MiB among
#          200 000 files of realistic sizes): both leave hidden entries out and compare
#          only files over 4096 bytes. jdupes also enters package folders, which
#          Tidvale leaves out (a few hundred files), and reads duplicates once more to
#          compare them byte by byte after hashing.
#   large  `tidvale-cli --json large --min N H` and `find H -name '.*' -prune -o -type f
#          -size +(N-1)c -print`: both skip hidden entries, find also enters packages.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  echo "cold-cache.sh must run as root: it drops the page cache through /proc/sys/vm/drop_caches." >&2
  exit 1
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-/tmp/tidvale-cold}
rounds=${2:-5}
large_min=10485760 # the screen's smallest threshold, 10 MB

"$repo/scripts/install-bench-deps.sh"
(cd "$repo" && cmake --preset release >/dev/null && cmake --build --preset release --target tidvale-cli >/dev/null)
cli="$repo/build/release/bin/tidvale-cli"
baseline=${BASELINE_CLI:-}

mkdir -p "$dest"
size_tree="$dest/size"
if [ ! -e "$dest/size.done" ]; then
  rm -rf "$size_tree"
  python3 "$repo/bench/make-home-tree.py" "$size_tree" 200000
  touch "$dest/size.done"
fi
home=$(python3 "$repo/bench/make-tree.py" "$dest/finders")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

size_tidvale() { "$cli" size "$size_tree"; }
size_ref() { du -sb --apparent-size -l "$size_tree"; }
size_baseline() { "$baseline" size "$size_tree"; }
dupes_tidvale() { "$cli" --json dupes "$home"; }
dupes_ref() { jdupes -r -q -A -X size+:4096 "$home"; }
dupes_baseline() { "$baseline" --json dupes "$home"; }
large_tidvale() { "$cli" --json large --min "$large_min" "$home"; }
large_ref() { find "$home" -name '.*' -prune -o -type f -size +$((large_min - 1))c -print; }
large_baseline() { "$baseline" --json large --min "$large_min" "$home"; }
runners=(tidvale ref)
[ -n "$baseline" ] && runners+=(baseline)

echo "== Same results"
expected=$(find "$size_tree" -mindepth 1 ! -type d -printf '%s\n' | awk '{s+=$1} END {print s}')
got=$(size_tidvale | awk '{print $1}')
[ "$got" = "$expected" ] || { echo "size: tidvale $got, find $expected" >&2; exit 1; }
echo "  size: tidvale and find agree on $expected bytes"
dupes_tidvale >"$work/dupes.json" 2>/dev/null
dupes_ref >"$work/jdupes.txt"
python3 "$repo/bench/compare.py" dupes "$work/dupes.json" "jdupes=$work/jdupes.txt"
large_tidvale >"$work/large.json" 2>/dev/null
large_ref >"$work/find.txt"
python3 "$repo/bench/compare.py" large "$work/large.json" "$work/find.txt"

drop() { sync; echo 3 >/proc/sys/vm/drop_caches; }
# Milliseconds taken by one run, output discarded.
run() {
  local t0 t1
  t0=$(date +%s%N)
  "$1" >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000000))
}

echo "== $rounds interleaved rounds (cold: page cache dropped before each run)"
: >"$work/times"
for ((r = 1; r <= rounds; r++)); do
  for pair in size dupes large; do
    # Who goes first alternates, so neither always runs right after the other's I/O.
    order=("${runners[@]}")
    ((r % 2 == 0)) && order=($(printf '%s\n' "${runners[@]}" | tac))
    for who in "${order[@]}"; do
      drop
      echo "$pair $who cold $(run "${pair}_$who")" >>"$work/times"
    done
    for who in "${order[@]}"; do
      run "${pair}_$who" >/dev/null # the other's run may have left a part of the tree cold
      echo "$pair $who warm $(run "${pair}_$who")" >>"$work/times"
    done
  done
  echo "  round $r done"
done

python3 - "$work/times" <<'PY'
import statistics, sys
times = {}
for line in open(sys.argv[1]):
    pair, who, cache, ms = line.split()
    times.setdefault((pair, who, cache), []).append(int(ms) / 1000)
refs = {"size": "du", "dupes": "jdupes", "large": "find"}
targets = {"size": 0.45, "dupes": 0.5, "large": 0.45}
print(f"{'':7}{'cache':6}{'tidvale s':>10}{'ref s':>8}{'ratio':>7}{'target':>8}{'baseline s':>12}")
for pair in ["size", "dupes", "large"]:
    for cache in ["cold", "warm"]:
        med = {who: statistics.median(v) for (p, who, c), v in times.items()
               if p == pair and c == cache}
        ratio = med["tidvale"] / med["ref"]
        target = f"{targets[pair]:.2f}" if cache == "cold" else ""
        base = f"{med['baseline']:12.3f}" if "baseline" in med else ""
        print(f"{pair:7}{cache:6}{med['tidvale']:10.3f}{med['ref']:8.3f}{ratio:7.2f}{target:>8}{base}"
              f"   ({refs[pair]})")
PY
