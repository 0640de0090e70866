#!/usr/bin/env bash
# The disk map against the walk it is built on and the reference tools, on the same
# trees, in interleaved rounds so that other load on the machine falls on all alike:
#   map    `tidvale-cli usage --depth 0 T`: the complete map (the tree with every
#          folder's total and biggest children), printed as its root line only;
#   size   `tidvale-cli size T`: the bare sum, the floor the map is held to;
#   gdu    `gdu -n -p -a T`: gdu keeps the whole tree for its browser too;
#   du     `du -sb --apparent-size T`.
# Warm: one warm-up, then ROUNDS rounds. Cold (root only): the page cache is dropped
# before every run. Peak memory: /usr/bin/time -v of one warm run each, and the map's
# bytes per entry over the same command on an empty folder, on the 200 000-entry tree
# of make-home-tree.py and on a generated 2 000 000-entry tree.
#
#   bench/disk-map.sh [DEST] [ROUNDS] [COLD_ROUNDS]   (default /var/tmp/tidvale-map, 7, 3)
set -euo pipefail
cd "$(dirname "$0")/.."
dest=${1:-/var/tmp/tidvale-map}
rounds=${2:-7}
cold_rounds=${3:-3}
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset release >/dev/null && cmake --build --preset release >/dev/null
cli=$PWD/build/release/bin/tidvale-cli
command -v gdu >/dev/null && [ -x /usr/bin/time ] || scripts/install-bench-deps.sh
mkdir -p "$dest"
small=$dest/home-200k
big=$dest/tree-2m
[ -e "$small.done" ] || { rm -rf "$small"; python3 bench/make-home-tree.py "$small" 200000 && touch "$small.done"; }
[ -e "$big.done" ] || { rm -rf "$big"; python3 bench/make-home-tree.py "$big" 2000000 && touch "$big.done"; }
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT
sync

now() { date +%s.%N; }
time_of() { local t0; t0=$(now); "$@" >/dev/null 2>&1; echo "$(now) - $t0" | bc -l; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
peak_kb() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}'; }
cold() { sync; echo 3 >/proc/sys/vm/drop_caches; }

declare -A run=(
  [map]="$cli usage --depth 0"
  [size]="$cli size"
  [gdu]="gdu -n -p -a"
  [du]="du -sb --apparent-size"
)
tools=(map size gdu du)

ratios() { # $1: label; reads the medians from med
  printf '%-22s' "$1"
  for t in "${tools[@]}"; do printf '%s %.3f s   ' "$t" "${med[$t]}"; done
  printf '\n%-22s' ""
  for t in size gdu du; do printf 'map/%s = %.2fx   ' "$t" "$(echo "${med[map]} / ${med[$t]}" | bc -l)"; done
  echo
}

for tree in "$small" "$big"; do
  entries=$(find "$tree" | wc -l)
  echo "== $tree: $entries entries"
  declare -A med=()
  for t in "${tools[@]}"; do ${run[$t]} "$tree" >/dev/null 2>&1; : >"/tmp/disk-map-$t"; done
  for _ in $(seq "$rounds"); do
    for t in "${tools[@]}"; do time_of ${run[$t]} "$tree" >>"/tmp/disk-map-$t"; done
  done
  for t in "${tools[@]}"; do med[$t]=$(median <"/tmp/disk-map-$t"); done
  ratios "warm ($rounds rounds)"
  if [ "$(id -u)" -eq 0 ] && [ "$cold_rounds" -gt 0 ] && [ "$tree" = "$small" ]; then
    for t in "${tools[@]}"; do : >"/tmp/disk-map-$t"; done
    for _ in $(seq "$cold_rounds"); do
      for t in "${tools[@]}"; do cold; time_of ${run[$t]} "$tree" >>"/tmp/disk-map-$t"; done
    done
    for t in "${tools[@]}"; do med[$t]=$(median <"/tmp/disk-map-$t"); done
    ratios "cold ($cold_rounds rounds)"
  fi
  for t in "${tools[@]}"; do
    base=$(peak_kb ${run[$t]} "$empty")
    kb=$(peak_kb ${run[$t]} "$tree")
    printf 'peak %-5s %8.1f MB   %6.1f bytes an entry over an empty folder\n' "$t" \
      "$(echo "$kb / 1024" | bc -l)" "$(echo "($kb - $base) * 1024 / $entries" | bc -l)"
  done
done
