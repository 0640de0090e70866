#!/usr/bin/env bash
# Times the application listing (every bundle measured file by file) against
# `du --apparent-size` over the same bundles, on a generated Applications folder.
#   bench/apps-listing.sh [CLI] [BUNDLES] [FILES_PER_BUNDLE]
set -euo pipefail
cli="${1:-build/release/bin/tidvale-cli}"
bundles="${2:-200}"
files="${3:-500}"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/sys/Applications" "$root/home"
for ((b = 0; b < bundles; b++)); do
  app="$root/sys/Applications/App $b.app/Contents"
  mkdir -p "$app/MacOS" "$app/Resources/sub"
  printf '<plist><dict><key>CFBundleIdentifier</key><string>org.bench.%d</string></dict></plist>' \
    "$b" > "$app/Info.plist"
  for ((f = 0; f < files; f++)); do : > "$app/Resources/sub/f$f"; done
  head -c $((b * 1000)) /dev/zero > "$app/MacOS/bin"
done
sync
echo "$bundles bundles × $files files"
time_of() { local s e; s=$(date +%s.%N); "$@" > /dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
# Warm the cache once, then take the best of three for each.
"$cli" --profile mac --system-root "$root/sys" apps > /dev/null 2>&1
best() { local b=999; for _ in 1 2 3; do t=$(time_of "$@"); b=$(echo "if ($t < $b) $t else $b" | bc); done; echo "$b"; }
ours=$(HOME="$root/home" best "$cli" --profile mac --system-root "$root/sys" apps)
theirs=$(best du -s --apparent-size -b "$root/sys/Applications/"*.app)
echo "tidvale-cli apps: ${ours}s   du --apparent-size: ${theirs}s   ratio: $(echo "scale=2; $ours / $theirs" | bc)"
