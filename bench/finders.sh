#!/usr/bin/env bash
# Benchmarks `tidvale-cli dupes` and `tidvale-cli large` against reference tools on a
# deterministic 200 000-file tree, warm cache, each round running every tool once in
# turn so that machine load falls on all of them alike.
#
#   bench/finders.sh [TREE_DIR] [ROUNDS]    (defaults: /tmp/tidvale-bench, 7)
#
# The tree (about 5 GB) is built once under TREE_DIR/home and reused. The script
# first checks that Tidvale finds exactly the duplicate groups each reference finds
# and lists exactly the large files `find` lists, then times them.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-/tmp/tidvale-bench}
rounds=${2:-7}
large_min=10485760 # the screen's smallest threshold, 10 MB

"$repo/scripts/install-bench-deps.sh"
(cd "$repo" && CCACHE_BASEDIR=${CCACHE_BASEDIR:-$repo} cmake --preset release >/dev/null \
  && cmake --build --preset release >/dev/null)
cli="$repo/build/release/bin/tidvale-cli"
home=$(python3 "$repo/bench/make-tree.py" "$dest")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The references, restricted as Tidvale is to files over 4096 bytes, no hidden entries.
jdupes_cmd="jdupes -r -q -A -X size+:4096 $home"
fdupes_cmd="fdupes -r -q -A -G 4097 $home"
rmlint_cmd="rmlint -T df -s 4097 -o fdupes:$work/rmlint.txt $home"
tidvale_cmd="$cli --json dupes $home"
find_cmd="find $home -type f -size +$((large_min - 1))c"
large_cmd="$cli --json large --min $large_min $home"

echo "== Same results (also warms the cache)"
$tidvale_cmd > "$work/tidvale.json" 2>/dev/null
$jdupes_cmd > "$work/jdupes.txt"
$fdupes_cmd > "$work/fdupes.txt"
$rmlint_cmd > /dev/null 2>&1 || true # exits non-zero when it found lint
$large_cmd > "$work/large.json" 2>/dev/null
$find_cmd > "$work/find.txt"
python3 "$repo/bench/compare.py" dupes "$work/tidvale.json" \
  "jdupes=$work/jdupes.txt" "fdupes=$work/fdupes.txt" "rmlint=$work/rmlint.txt"
python3 "$repo/bench/compare.py" large "$work/large.json" "$work/find.txt"

echo "== Time, $rounds interleaved rounds, warm cache"
for ((r = 1; r <= rounds; r++)); do
  # -i: rmlint exits with 1 whenever it finds something.
  hyperfine -N -i --runs 1 --style none --export-json "$work/round-$r.json" \
    -n tidvale "$tidvale_cmd" -n jdupes "$jdupes_cmd" -n fdupes "$fdupes_cmd" \
    -n rmlint "$rmlint_cmd" -n tidvale-large "$large_cmd" -n find "$find_cmd" > /dev/null 2>&1
done

echo "== Peak resident memory"
for name in tidvale jdupes fdupes rmlint; do
  var="${name}_cmd"
  /usr/bin/time -f "%M" -o "$work/rss-$name" ${!var} > /dev/null 2>&1 || true
done

python3 - "$work" "$rounds" <<'PY'
import json, statistics, sys
work, rounds = sys.argv[1], int(sys.argv[2])
times = {}
for r in range(1, rounds + 1):
    for res in json.load(open(f"{work}/round-{r}.json"))["results"]:
        times.setdefault(res["command"], []).append(res["times"][0])
med = {k: statistics.median(v) for k, v in times.items()}
rss = {}
for name in ["tidvale", "jdupes", "fdupes", "rmlint"]:
    try:
        rss[name] = int(open(f"{work}/rss-{name}").read().split()[-1]) / 1024
    except (OSError, ValueError, IndexError):
        pass
print(f"{'command':<14}{'median s':>10}{'min s':>9}{'max s':>9}{'peak MB':>9}")
for k in ["tidvale", "jdupes", "fdupes", "rmlint", "tidvale-large", "find"]:
    v = times[k]
    mem = f"{rss[k]:9.1f}" if k in rss else ""
    print(f"{k:<14}{med[k]:10.3f}{min(v):9.3f}{max(v):9.3f}{mem}")
fastest = min(("jdupes", "fdupes", "rmlint"), key=lambda k: med[k])
print(f"dupes: tidvale is {med[fastest] / med['tidvale']:.2f}x faster than {fastest}, "
      f"the fastest reference ({med['jdupes'] / med['tidvale']:.2f}x jdupes, "
      f"{med['fdupes'] / med['tidvale']:.2f}x fdupes, {med['rmlint'] / med['tidvale']:.2f}x rmlint)")
print(f"large: tidvale is {med['find'] / med['tidvale-large']:.2f}x faster than find")
PY
