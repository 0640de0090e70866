#!/usr/bin/env bash
# Fuzzes the property-list reader with libFuzzer under the address and
# undefined-behaviour sanitizers. Needs clang; the normal build does not.
#   scripts/fuzz-plist.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang++ >/dev/null || { echo "clang++ is needed for fuzzing" >&2; exit 1; }
seconds="${1:-60}"
out=build/fuzz
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I src src/platform/PropertyList.cpp tests/fuzz/plist_fuzz.cpp -o "$out/plist_fuzz"
"$out/plist_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=5 \
  "$out/corpus" tests/fuzz/plist-corpus
