#!/usr/bin/env bash
# Times `tidvale-cli scan` on the Linux profile against `du -sb` over the same
# folders: a cache folder of 300 000 entries (bench/make-home-tree.py) in a home of its
# own, and an empty system root so only the home is read. One warm-up each, then
# interleaved rounds; prints the medians and their ratio.
# usage: bench/scan-vs-du.sh [ENTRIES] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
entries=${1:-300000}
rounds=${2:-7}
cmake --preset release >/dev/null && cmake --build --preset release >/dev/null
cli=$PWD/build/release/bin/tidvale-cli
home=/tmp/tidvale-bench-cache-home-$entries
[ -d "$home/.cache" ] || python3 bench/make-home-tree.py "$home/.cache" "$entries"
root=$(mktemp -d /tmp/tidvale-bench-root-XXXXXX)
trap 'rm -rf "$root"' EXIT
scan() { env -u XDG_CACHE_HOME -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" \
  "$cli" --profile linux --system-root "$root" scan 2>/dev/null; }
mkdir -p "$home/.local/share/Trash"
dusb() { du -sb "$home/.cache" "$home/.local/share/Trash"; }

now() { date +%s.%N; }
time_of() { local t0; t0=$(now); "$@" >/dev/null; echo "$(now) - $t0" | bc -l; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "home: $home ($(find "$home/.cache" | wc -l) entries under .cache)"
scan >/dev/null; dusb >/dev/null
: >/tmp/bench-scan; : >/tmp/bench-dusb
for _ in $(seq "$rounds"); do
  time_of dusb >>/tmp/bench-dusb
  time_of scan >>/tmp/bench-scan
done
du_m=$(median </tmp/bench-dusb); tv_m=$(median </tmp/bench-scan)
printf 'du -sb %.3f s   tidvale-cli scan %.3f s   scan/du = %.2fx (target at most 1.20x)\n' \
  "$du_m" "$tv_m" "$(echo "$tv_m / $du_m" | bc -l)"
