#!/usr/bin/env bash
# Times `tidvale-cli size` against `du -sb --apparent-size -l` on the same tree, runs
# interleaved so both see the same warm cache, on two cores and pinned to one.
# usage: bench/size-vs-du.sh [TREE] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
tree=${1:-/tmp/tidvale-bench-home}
rounds=${2:-7}
cmake --preset release >/dev/null && cmake --build --preset release >/dev/null
cli=build/release/bin/tidvale-cli
[ -d "$tree" ] || python3 bench/make-home-tree.py "$tree"

# The walk sums every non-folder entry; du also adds the folders' own sizes, so the
# exact check is against find.
expected=$(find "$tree" -mindepth 1 ! -type d -printf '%s\n' | awk '{s+=$1} END {print s}')
got=$("$cli" size "$tree" | awk '{print $1}')
[ "$got" = "$expected" ] || { echo "size mismatch: tidvale $got, find $expected" >&2; exit 1; }
echo "tree: $tree, $expected bytes (tidvale agrees with find)"

now() { date +%s.%N; }
time_of() { local t0; t0=$(now); "$@" >/dev/null; echo "$(now) - $t0" | bc -l; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

for mode in both one; do
  pin=()
  [ "$mode" = one ] && pin=(taskset -c 0)
  : >/tmp/bench-du; : >/tmp/bench-tv
  "${pin[@]}" du -sb --apparent-size -l "$tree" >/dev/null # warm
  for _ in $(seq "$rounds"); do
    time_of "${pin[@]}" du -sb --apparent-size -l "$tree" >>/tmp/bench-du
    time_of "${pin[@]}" "$cli" size "$tree" >>/tmp/bench-tv
  done
  du_m=$(median </tmp/bench-du); tv_m=$(median </tmp/bench-tv)
  printf '%-12s du %.3f s   tidvale %.3f s   du/tidvale = %.2fx\n' \
    "$([ "$mode" = one ] && echo "one core" || echo "all cores")" "$du_m" "$tv_m" "$(echo "$du_m / $tv_m" | bc -l)"
done
