#!/usr/bin/env bash
# Times `tidvale-cli --profile linux apps` on this machine's own menu entries and dpkg
# database, and checks its count against the entries a shell pipeline finds in the
# same XDG folders (Type=Application, neither NoDisplay nor Hidden, first of each id).
# The owner lookup is timed against `dpkg-query -S` over the same entries.
#   bench/linux-apps.sh [CLI]
set -euo pipefail
cli="${1:-build/release/bin/tidvale-cli}"
data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
dirs="$data_home:$data_home/flatpak/exports/share:/var/lib/flatpak/exports/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}:/var/lib/snapd/desktop"

entries() {
  declare -A seen=()
  local IFS=:
  for d in $dirs; do
    [ -d "$d/applications" ] || continue
    while IFS= read -r -d '' f; do
      id="${f#"$d/applications/"}"; id="${id//\//-}"
      [ -n "${seen[$id]:-}" ] && continue
      seen[$id]=1
      group=$(sed -n '/^\[Desktop Entry\]/,/^\[/p' "$f")
      grep -q '^Type=Application' <<<"$group" || continue
      grep -Eq '^(NoDisplay|Hidden)=true' <<<"$group" && continue
      printf '%s\n' "$f"
    done < <(find -L "$d/applications" -name '*.desktop' -type f -print0 2>/dev/null)
  done
}

time_of() { local s e; s=$(date +%s.%N); "$@" > /dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc; }
best() { local b=999 t; for _ in 1 2 3; do t=$(time_of "$@"); b=$(echo "if ($t < $b) $t else $b" | bc); done; echo "$b"; }

"$cli" --profile linux apps > /dev/null 2>&1 # warm the cache
ours=$(best "$cli" --profile linux apps)
count=$("$cli" --json --profile linux apps 2>/dev/null | grep -c '"source"')
mapfile -t found < <(entries)
echo "tidvale-cli --profile linux apps: ${ours}s, ${count} aplicaciones"
echo "menu entries found by the shell pipeline: ${#found[@]}"
if [ "${#found[@]}" -gt 0 ]; then
  reference=$(best dpkg-query -S "${found[@]}")
  echo "dpkg-query -S over those entries: ${reference}s"
fi
dpkg_lists=$(ls /var/lib/dpkg/info/*.list 2>/dev/null | wc -l)
echo "dpkg file lists indexed: ${dpkg_lists}"
[ "$count" -eq "${#found[@]}" ] || { echo "count differs" >&2; exit 1; }
