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
#   bench/disk-map.sh [DEST] [ROUNDS] [COLD_ROUNDS] [TREES]
#   (defaults /var/tmp/tidvale-map, 7, 3, "200k 2m")
set -euo pipefail
cd "$(dirname "$0")/.."
dest=${1:-/var/tmp/tidvale-map}
rounds=${2:-7}
cold_rounds=${3:-3}
trees=" ${4:-200k 2m} "
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset release >/dev/null && cmake --build --preset release --target tidvale-cli >/dev/null
cli=$PWD/build/release/bin/tidvale-cli
command -v gdu >/dev/null && [ -x /usr/bin/time ] || scripts/install-bench-deps.sh
mkdir -p "$dest"
small=$dest/home-200k
big=$dest/tree-2m
list=()
if [[ "$trees" == *" 200k "* ]]; then
  [ -e "$small.done" ] || { rm -rf "$small"; python3 bench/make-home-tree.py "$small" 200000 && touch "$small.done"; }
  list+=("$small")
fi
if [[ "$trees" == *" 2m "* ]]; then
  [ -e "$big.done" ] || { rm -rf "$big"; python3 bench/make-home-tree.py "$big" 2000000 && touch "$big.done"; }
  list+=("$big")
fi
empty=$(mktemp -d)
trap 'rm -rf "$empty"' EXIT
sync

# Wall seconds, then CPU seconds (user + system): on a shared machine the second says
# what the work costs whatever share of the cores it was given.
time_of() {
  /usr/bin/time -f '%e %U %S' -o /tmp/disk-map-time "$@" >/dev/null 2>&1
  awk '{printf "%s %.2f\n", $1, $2 + $3}' /tmp/disk-map-time
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
medians() { # $1: the file of one tool; sets med and cpu for it
  med[$2]=$(cut -d' ' -f1 <"$1" | median)
  cpu[$2]=$(cut -d' ' -f2 <"$1" | median)
}
peak_kb() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}'; }
cold() { sync; echo 3 >/proc/sys/vm/drop_caches; }

declare -A run=(
  [map]="$cli usage --depth 0"
  [size]="$cli size"
  [gdu]="gdu -n -p -a"
  [du]="du -sb --apparent-size"
)
tools=(map size gdu du)

ratios() { # $1: label; reads the medians from med and cpu
  printf '%-22s' "$1"
  for t in "${tools[@]}"; do printf '%s %.3f s   ' "$t" "${med[$t]}"; done
  printf '\n%-22s' "  wall"
  for t in size gdu du; do printf 'map/%s = %.2fx   ' "$t" "$(echo "${med[map]} / ${med[$t]}" | bc -l)"; done
  printf '\n%-22s' "  cpu"
  for t in size gdu du; do printf 'map/%s = %.2fx   ' "$t" "$(echo "${cpu[map]} / ${cpu[$t]}" | bc -l)"; done
  printf '\n%-22s%s\n' "  load" "$(cut -d' ' -f1-3 /proc/loadavg)"
}

for tree in "${list[@]}"; do
  entries=$(find "$tree" | wc -l)
  echo "== $tree: $entries entries"
  declare -A med=() cpu=()
  for t in "${tools[@]}"; do ${run[$t]} "$tree" >/dev/null 2>&1; : >"/tmp/disk-map-$t"; done
  for _ in $(seq "$rounds"); do
    for t in "${tools[@]}"; do time_of ${run[$t]} "$tree" >>"/tmp/disk-map-$t"; done
  done
  for t in "${tools[@]}"; do medians "/tmp/disk-map-$t" "$t"; done
  ratios "warm ($rounds rounds)"
  if [ "$(id -u)" -eq 0 ] && [ "$cold_rounds" -gt 0 ] && [ "$tree" = "$small" ]; then
    for t in "${tools[@]}"; do : >"/tmp/disk-map-$t"; done
    for _ in $(seq "$cold_rounds"); do
      for t in "${tools[@]}"; do cold; time_of ${run[$t]} "$tree" >>"/tmp/disk-map-$t"; done
    done
    for t in "${tools[@]}"; do medians "/tmp/disk-map-$t" "$t"; done
    ratios "cold ($cold_rounds rounds)"
  fi
  for t in "${tools[@]}"; do
    base=$(peak_kb ${run[$t]} "$empty")
    kb=$(peak_kb ${run[$t]} "$tree")
    printf 'peak %-5s %8.1f MB   %6.1f bytes an entry over an empty folder\n' "$t" \
      "$(echo "$kb / 1024" | bc -l)" "$(echo "($kb - $base) * 1024 / $entries" | bc -l)"
  done
done
