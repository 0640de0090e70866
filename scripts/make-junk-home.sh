#!/usr/bin/env bash
# Fills a new folder with the kind of junk a real home collects (caches, logs, a full
# Trash, browser caches) and prints its path. For screenshots and benchmarks only.
#   scripts/make-junk-home.sh [FOLDER]
set -euo pipefail
home="${1:-$(mktemp -d /tmp/tidvale-home-XXXXXX)}"
mkdir -p "$home"

blob() { # blob PATH KILOBYTES
  mkdir -p "$(dirname "$1")"
  head -c "$(( $2 * 1024 ))" /dev/urandom >"$1"
}

for app in com.spotify.client com.apple.Music org.videolan.vlc com.microsoft.VSCode; do
  for i in 1 2 3; do blob "$home/Library/Caches/$app/Cache.noindex/blob$i" 700; done
done
blob "$home/Library/Caches/com.apple.tiny/small" 4        # under the size threshold
blob "$home/Library/Logs/DiagnosticReports/crash-2026-11-02.ips" 120
blob "$home/Library/Logs/JetBrains/idea.log" 900
blob "$home/Library/Logs/install.log" 40
blob "$home/.Trash/Proyecto final (copia).zip" 6000
blob "$home/.Trash/IMG_2041.MOV" 12000
blob "$home/Library/Caches/com.apple.Safari/Cache.db" 300
blob "$home/Library/Application Support/Google/Chrome/Default/Cache/data_1" 2500
blob "$home/Library/Application Support/Google/Chrome/Default/GPUCache/data_0" 400
blob "$home/Library/Caches/Firefox/Profiles/x8k2.default-release/cache2/entries/A1" 1800
blob "$home/Library/Application Support/Microsoft Edge/Default/Cache/f_0001" 700
mkdir -p "$home/Downloads" "$home/Documents" "$home/Desktop"
echo "$home"
