#!/usr/bin/env bash
# Removes a very deep chain of folders with the engine's removal (optimised build)
# and with `rm -rf`, in interleaved rounds on freshly built trees, and prints each
# run's wall time and peak resident memory as /usr/bin/time measures them.
#
#   bench/deep-remove.sh [DIR] [LEVELS] [ROUNDS] [NAME]
#   (defaults: /tmp, 40000, 5, d)
#
# The trees are built in a scratch folder inside DIR, so the file system there is
# what is measured: on a disk each folder removed costs journal work, and the times
# follow the disk's load; on a tmpfs (/dev/shm) only the tools' own work remains.
set -euo pipefail
cd "$(dirname "$0")/.."
parent=${1:-/tmp}
levels=${2:-40000}
rounds=${3:-5}
name=${4:-d}

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset release >/dev/null
cmake --build --preset release --target tidvale_admin >/dev/null
mkdir -p build/bench
lib=build/release/src
g++ -O2 -std=c++20 -Isrc bench/deep_remove_probe.cpp -o build/bench/deep_remove_probe \
  "$lib/engine/libtidvale_admin.a" -pthread
probe=build/bench/deep_remove_probe

dest=$(mktemp -d "$parent/tidvale-deep-bench.XXXXXX")
results=$(mktemp)
trap 'rm -rf "$dest" "$results"' EXIT

run() { # tool round
  local work="$dest/$1-$2" top
  rm -rf "$work"
  mkdir -p "$work"
  top=$(python3 bench/make-deep-tree.py "$work" "$levels" "$name")
  sync
  local cmd=("$probe" "$top")
  [ "$1" = rm ] && cmd=(rm -rf -- "$top")
  /usr/bin/time -f "%e %M" -o "$work.time" "${cmd[@]}"
  if [ -e "$top" ]; then
    echo "$1 left $top behind" >&2
    exit 1
  fi
  read -r secs kb < "$work.time"
  printf '%-8s round %d  %7.2f s  %8d KB\n' "$1" "$2" "$secs" "$kb"
  echo "$1 $secs $kb" >> "$results"
  rm -rf "$work" "$work.time"
}

echo "== $levels levels named \"$name\" in $dest, $rounds interleaved rounds"
for ((r = 1; r <= rounds; r++)); do
  if ((r % 2)); then run tidvale "$r"; run rm "$r"; else run rm "$r"; run tidvale "$r"; fi
done

echo "== Medians"
for tool in tidvale rm; do
  secs=$(awk -v t="$tool" '$1 == t { print $2 }' "$results" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
  kb=$(awk -v t="$tool" '$1 == t { print $3 }' "$results" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
  printf '%-8s %7.2f s  %8d KB\n' "$tool" "$secs" "$kb"
done
