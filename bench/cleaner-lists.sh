#!/usr/bin/env bash
# How long the cleaner lists take to fill and scroll with many rows (optimised build,
# Xvfb). Each run prints fill, jump-to-end and scrolling times and resident memory.
#   bench/cleaner-lists.sh [ROWS]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != "--inside-xvfb" ]; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
  cmake --preset release >/dev/null
  cmake --build --preset release >/dev/null
  mkdir -p build/bench
  lib=build/release/src
  # shellcheck disable=SC2046
  g++ -O2 -std=c++20 -fPIC -DQT_NO_CONTEXTLESS_CONNECT -Isrc bench/cleaner_list_probe.cpp \
    -o build/bench/cleaner_list_probe \
    "$lib/gui/libtidvale_gui.a" "$lib/engine/libtidvale_engine.a" "$lib/engine/libtidvale_admin.a" \
    "$lib/platform/libtidvale_platform.a" "$lib/platform/libtidvale_privileged_report.a" \
    $(pkg-config --cflags --libs Qt6Widgets Qt6DBus Qt6Concurrent gio-2.0 libcrypto tomlplusplus)
  exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" --inside-xvfb "${1:-100000}"
fi
for rows in 1000 "$2"; do
  for run in 1 2 3; do build/bench/cleaner_list_probe "$rows" 2>/dev/null; done
done
