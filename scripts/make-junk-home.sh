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
# The same kinds of junk where a Linux desktop keeps them.
for app in thumbnails pip vlc yarn; do
  for i in 1 2; do blob "$home/.cache/$app/blob$i" 600; done
done
blob "$home/.cache/fontconfig/cache-7" 900                  # kept: every program maps it
blob "$home/.xsession-errors.old" 60
trashed() { # trashed NAME KILOBYTES ORIGINAL-PATH
  blob "$home/.local/share/Trash/files/$1" "$2"
  printf '[Trash Info]\nPath=%s\nDeletionDate=2026-11-30T10:00:00\n' "$3" \
    >"$home/.local/share/Trash/info/$1.trashinfo"
}
mkdir -p "$home/.local/share/Trash/info"
trashed "Proyecto final (copia).zip" 6000 "$home/Documentos/Proyecto%20final%20(copia).zip"
trashed "IMG_2041.MOV" 12000 "$home/V%C3%ADdeos/IMG_2041.MOV"
mkdir -p "$home/.mozilla/firefox"
printf '[Profile0]\nName=default-esr\nIsRelative=1\nPath=x8k2.default-esr\n' \
  >"$home/.mozilla/firefox/profiles.ini"
blob "$home/.cache/mozilla/firefox/x8k2.default-esr/cache2/entries/A1" 1800
blob "$home/.cache/chromium/Default/Cache/Cache_Data/data_1" 2500
blob "$home/.config/chromium/Default/GPUCache/data_0" 400
blob "$home/.config/chromium/Default/History" 200
mkdir -p "$home/Downloads" "$home/Documents" "$home/Desktop"
# What the finders and the Downloads list show: large files (sparse, so they cost no
# disk), two sets of copies, and downloads of several ages.
sparse() { mkdir -p "$(dirname "$1")"; truncate -s "$2" "$1"; }
sparse "$home/Downloads/debian-12-amd64-netinst.iso" 658M
sparse "$home/Documents/Vídeos/vacaciones 2025.mov" 2100M
sparse "$home/Desktop/copia de seguridad.tar" 320M
blob "$home/Documents/Informe anual.pdf" 900
cp "$home/Documents/Informe anual.pdf" "$home/Desktop/Informe anual (copia).pdf"
cp "$home/Documents/Informe anual.pdf" "$home/Downloads/Informe anual.pdf"
blob "$home/Documents/Fotos/IMG_0042.jpg" 2400
cp "$home/Documents/Fotos/IMG_0042.jpg" "$home/Desktop/IMG_0042.jpg"
blob "$home/Downloads/factura-marzo.pdf" 180
blob "$home/Downloads/instalador.dmg" 5200
touch -d '400 days ago' "$home/Downloads/debian-12-amd64-netinst.iso"
touch -d '45 days ago' "$home/Downloads/factura-marzo.pdf"
touch -d '100 days ago' "$home/Downloads/instalador.dmg"
echo "$home"
