#!/usr/bin/env bash
# Compares Tidvale's Papelera with the desktop's own Trash clients on one throwaway
# home: what GIO's `gio trash` and trash-cli's `trash-put` move in must be listed by
# `tidvale-cli scan` under the names `trash-list` shows, and `clean --yes --category
# Papelera` must leave `trash-list` showing nothing. Odd names (spaces, quotes, a
# backslash, a newline) travel too. Runs against an empty system root, so nothing of
# this machine's is ever listed. Needs trash-cli and gio (scripts/install-deps.sh).
#   scripts/check-trash-clients.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset ci >/dev/null
cmake --build --preset ci --target tidvale-cli >/dev/null
cli=$PWD/build/ci/bin/tidvale-cli

work=$(mktemp -d /tmp/tidvale-trash-XXXXXX)
trap 'rm -rf "$work"' EXIT
home=$work/home sys=$work/sys
mkdir -p "$home/files" "$home/.local/share" "$sys"
export HOME=$home XDG_DATA_HOME=$home/.local/share
unset XDG_CACHE_HOME XDG_CONFIG_HOME

names=("informe final.pdf" "comillas \"dobles\" y 'simples'" 'barra\invertida' $'salto\nde línea' "carpeta")
for n in "${names[@]}"; do
  if [ "$n" = carpeta ]; then mkdir -p "$home/files/$n/dentro"; echo x >"$home/files/$n/dentro/f"
  else printf 'contenido %s' "$n" >"$home/files/$n"; fi
done
gio trash "$home/files/informe final.pdf" "$home/files/carpeta"
trash-put "$home/files/comillas \"dobles\" y 'simples'" "$home/files/barra\invertida"
gio trash "$home/files/"$'salto\nde línea'

theirs=$(trash-list | cut -c21- | xargs -0 -n1 printf '%s' | awk -F/ '{print $NF}' | sort)
listing=$("$cli" --json --profile linux --system-root "$sys" scan 2>/dev/null)
papelera() { python3 -c 'import json,sys; n=[i["name"] for i in json.load(sys.stdin) if i["category"]=="Papelera"]; print(len(n) if sys.argv[1]=="count" else "\n".join(sorted(n)))' "$1"; }
ours=$(papelera names <<<"$listing")
count=$(papelera count <<<"$listing")
echo "trash-list: $(trash-list | wc -l) lines; tidvale: $count entries"
# trash-list prints a newline inside a name as is: compare the names as sets of the
# entries both tools can spell on one line, then the counts.
one_line=$(printf '%s\n' "$theirs" | grep -v -e '^de línea$' -e '^salto$' || true)
missing=$(comm -23 <(printf '%s\n' "$one_line") <(printf '%s\n' "$ours" | sed 's/\xEF\xBF\xBD/\n/g' | grep -v -e '^de línea$' -e '^salto$'))
[ -z "$missing" ] || { echo "listed by trash-list but not by tidvale: $missing" >&2; exit 1; }
[ "$count" = "${#names[@]}" ] || { echo "tidvale lists $count of ${#names[@]}" >&2; exit 1; }

"$cli" --profile linux --system-root "$sys" clean --yes --category Papelera >/dev/null
left=$(trash-list | wc -l)
[ "$left" = 0 ] || { echo "trash-list still shows $left entries after the clean" >&2; trash-list >&2; exit 1; }
left_files=$(find "$XDG_DATA_HOME/Trash/info" "$XDG_DATA_HOME/Trash/files" -mindepth 1)
[ -z "$left_files" ] || { echo "left in the Trash: $left_files" >&2; exit 1; }
[ -d "$home/files" ] || { echo "the user's folder went" >&2; exit 1; }
echo "same entries as trash-list; after the clean trash-list shows nothing and the Trash is empty"
