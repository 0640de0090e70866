#!/usr/bin/env bash
# How long the window stops answering while the real screens work, on trees big enough
# to freeze a window that did the work on its own thread:
#   junk   System Junk scans a throw-away home whose cache holds 1 GB in 100 000 files,
#          then cleans it (the removal runs behind its progress sheet);
#   dupes  Duplicates hashes 5 GB: ten groups of two 256 MiB copies;
#   stop   Large Files walks a 200 000-entry tree and is stopped after 0.15 s;
#   map    Espacio en Disco maps that tree while it fills, then zooms in and out.
# Each phase prints its wall time, the longest gap of a 2 ms timer and the 99th
# percentile. The clean's wall time is how long the window would have been frozen if
# the removal ran on the GUI thread. Target: longest stall under 50 ms.
#
#   bench/gui-stalls.sh [DEST] [PHASE...]   (default /var/tmp/tidvale-stalls, every
#                                           phase; needs ~6 GB)
#
# Runs under Xvfb when there is no display (xvfb-run), else offscreen. TIDVALE_SHOTS=DIR
# saves a picture of the screen early in each phase.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-/var/tmp/tidvale-stalls}
shift $(($# > 0 ? 1 : 0))
phases=" ${*:-junk dupes stop map} "
want() { [[ "$phases" == *" $1 "* ]]; }
cd "$repo"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
mkdir -p build/bench
lib=build/release/src
bin=build/bench/gui_stalls
# shellcheck disable=SC2046
g++ -O2 -std=c++20 -fPIC -DQT_NO_CONTEXTLESS_CONNECT -Isrc bench/gui_stalls.cpp -o "$bin" \
  "$lib/gui/libtidvale_gui.a" "$lib/engine/libtidvale_engine.a" "$lib/engine/libtidvale_admin.a" \
  "$lib/platform/libtidvale_platform.a" "$lib/platform/libtidvale_privileged_report.a" \
  $(pkg-config --cflags --libs Qt6Widgets Qt6DBus Qt6Concurrent Qt6Test gio-2.0 libcrypto tomlplusplus)

run() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  elif command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x800x24" "$@"
  else
    QT_QPA_PLATFORM=offscreen "$@"
  fi
}

mkdir -p "$dest"
home="$dest/home"
rm -rf "$home"
mkdir -p "$home"
# 100 000 files of 10 000 bytes in 100 folders: 1 GB the cleaner removes for good.
want junk && python3 - "$home/.cache/bigcache" <<'PY'
import os, sys
root = sys.argv[1]
block = os.urandom(10_000)
for d in range(100):
    folder = os.path.join(root, f"d{d:03}")
    os.makedirs(folder)
    for f in range(1000):
        with open(os.path.join(folder, f"f{f:04}"), "wb") as out:
            out.write(block)
PY

dupes="$dest/dupes"
if want dupes && [ ! -e "$dest/dupes.done" ]; then
  rm -rf "$dupes"
  mkdir -p "$dupes"
  for g in $(seq 1 10); do
    head -c $((256 * 1048576)) /dev/urandom >"$dupes/g$g-a"
    cp "$dupes/g$g-a" "$dupes/g$g-b"
  done
  touch "$dest/dupes.done"
fi

walk="$dest/walk"
if [ ! -e "$dest/walk.done" ]; then
  rm -rf "$walk"
  python3 "$repo/bench/make-home-tree.py" "$walk" 200000 >/dev/null
  touch "$dest/walk.done"
fi

bin="$PWD/$bin"
# The trees' writeback would otherwise fall on the first phases.
sync
export HOME="$home"
unset XDG_CACHE_HOME XDG_DATA_HOME XDG_CONFIG_HOME XDG_STATE_HOME
if want junk; then
  echo "== System Junk: scan and clean 1 GB in 100 000 files"
  run "$bin" junk
fi
if want dupes; then
  echo "== Duplicates: hash 5 GB"
  run "$bin" dupes "$dupes"
fi
if want stop; then
  echo "== Large Files: stop a walk of 200 000 entries"
  run "$bin" stop "$walk"
fi
if want map; then
  echo "== Espacio en Disco: map 200 000 entries, then zoom"
  run "$bin" map "$walk"
fi
