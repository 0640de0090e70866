#!/usr/bin/env bash
# Runs real Firefox ESR and Chromium headless in a throw-away home against pages on
# 127.0.0.1 (visited, forgotten) and localhost (a kept site) that set a cookie and
# local storage, bookmarks a third page, then runs `tidvale-cli clean --yes --history
# --cookies` and shows: which files of the profiles and caches still hold a visited
# page's address or title (a byte search; the Trash, which holds the originals for an
# undo, is left out), that the bookmark is still read back by sqlite3 and by the
# browser started again, that only the kept site's cookies stayed, that each edited
# database passes integrity_check, that the copy in the Trash is the original byte for
# byte, and that `undo` puts places.sqlite back as it was. Needs Debian's firefox-esr, chromium and sqlite3 (installed here when
# missing); no test depends on this script.
# usage: scripts/check-privacy-clean.sh [--keep]
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for p in firefox-esr chromium sqlite3; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset ci >/dev/null
cmake --build --preset ci --target tidvale-cli >/dev/null
cli=$PWD/build/ci/bin/tidvale-cli

work=$(mktemp -d /tmp/tidvale-privacy-XXXXXX)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ "${KEEP:-}" = 1 ] || rm -rf "$work"
}
trap cleanup EXIT
[ "${1:-}" = --keep ] && KEEP=1 && echo "keeping $work"

token=$(od -An -N4 -tx1 /dev/urandom | tr -d ' \n')
cat >"$work/serve.py" <<'PY'
import http.server, sys
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        name = self.path.strip("/").split("?")[0]
        title = {"visited": "Visitada", "bookmarked": "Marcada", "kept": "Conservada"}.get(name.split("-")[0], "Otra")
        body = ("<html><head><title>%s %s</title></head><body><script>"
                "localStorage.setItem('huella-%s', 'valor-%s'); document.cookie = 'js-%s=1; max-age=86400';"
                "</script>hola</body></html>" % (title, sys.argv[1], name, name, name.split("-")[0])).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Set-Cookie", "srv-%s=1; Max-Age=86400; Path=/" % name.split("-")[0])
        self.send_header("Cache-Control", "max-age=3600")
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
PY
python3 "$work/serve.py" "$token" >"$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
port=$(cat "$work/port")
visited="http://127.0.0.1:$port/visited-$token.html"
bookmarked="http://127.0.0.1:$port/bookmarked-$token.html"
kept="http://localhost:$port/kept-$token.html"

home="$work/home"
mkdir -p "$home"
run() { env -u XDG_CACHE_HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME HOME="$home" "$@"; }
chromium_args=(--headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking
  --disable-component-update --disable-sync "--user-data-dir=$home/.config/chromium" --virtual-time-budget=3000)

echo "== browsing $visited, $bookmarked and $kept"
for u in "$visited" "$bookmarked" "$kept"; do
  run timeout 120 firefox-esr --headless --screenshot "$work/shot.png" "$u" >/dev/null 2>&1 || true
  run timeout 120 chromium "${chromium_args[@]}" --dump-dom "$u" >/dev/null 2>&1 || true
done
ffprofile=$(dirname "$(find "$home/.config/mozilla/firefox" "$home/.mozilla/firefox" -name places.sqlite 2>/dev/null | head -1)")
chprofile="$home/.config/chromium/Default"
[ -d "$ffprofile" ] && [ -d "$chprofile" ] || { echo "the browsers made no profile" >&2; exit 1; }

echo "== bookmarking $bookmarked in both"
sqlite3 "$ffprofile/places.sqlite" "INSERT INTO moz_bookmarks(type, fk, parent, position, title, dateAdded, lastModified, guid)
  SELECT 1, id, (SELECT id FROM moz_bookmarks WHERE guid = 'toolbar_____'), 0, 'Marcador $token', 0, 0, 'tidvaleBkmk1'
  FROM moz_places WHERE url = '$bookmarked'"
python3 - "$chprofile/Bookmarks" "$bookmarked" "$token" <<'PY'
import json, sys
path, url, token = sys.argv[1:]
try:
    data = json.load(open(path))
except FileNotFoundError:
    data = {"roots": {"bookmark_bar": {"children": [], "id": "1", "name": "Barra", "type": "folder"},
                      "other": {"children": [], "id": "2", "name": "Otros", "type": "folder"},
                      "synced": {"children": [], "id": "3", "name": "Móvil", "type": "folder"}}, "version": 1}
data.pop("checksum", None)
data["roots"]["bookmark_bar"]["children"].append({"id": "900", "name": "Marcador " + token, "type": "url", "url": url})
json.dump(data, open(path, "w"))
PY
sqlite3 "$ffprofile/places.sqlite" "SELECT '  firefox bookmark: ' || url FROM moz_bookmarks b JOIN moz_places p ON p.id = b.fk WHERE b.guid = 'tidvaleBkmk1'"
cp "$ffprofile/places.sqlite" "$work/places.before"

tv() { run "$cli" --profile linux --system-root "$work/root" "$@"; }
mkdir -p "$work/root"
tv settings keep_sites localhost >/dev/null
tv settings history true >/dev/null # so that `undo` can put the databases back

echo "== where the visited page is before the clean"
search() { grep -rlaF -e "visited-$token" -e "Visitada $token" "$home" --exclude-dir=Trash 2>/dev/null | sed "s|$home/|  |" || true; }
search | tee "$work/before" | head -40
echo "  ($(wc -l <"$work/before") files)"

echo "== tidvale-cli clean --yes --history --cookies"
tv --json clean --yes --history --cookies >"$work/clean.json" 2>"$work/clean.err" || true
python3 - "$work/clean.json" "$home" <<'PY'
import json, sys
r = json.load(open(sys.argv[1])); home = sys.argv[2] + "/"
for e in r["removed"]:
    if e.get("edited"): print("  edited:", e["path"].replace(home, ""), "→ original in", e["trashedAs"].replace(home, ""))
print("  removed", len(r["removed"]), "items;", len(r["left"]), "left")
for e in r["left"]: print("  left:", e["path"].replace(home, ""), "—", e["reason"])
PY

status=0
echo "== files that still name the visited page (address or title)"
search >"$work/after"
if [ -s "$work/after" ]; then cat "$work/after"; status=1; else echo "  none"; fi
echo "== files that still name 127.0.0.1:$port (a site, not a page; informational)"
grep -rlaF "127.0.0.1:$port" "$home" --exclude-dir=Trash 2>/dev/null | sed "s|$home/|  |" || true

echo "== bookmarks, cookies, integrity"
fb=$(sqlite3 "$ffprofile/places.sqlite" "SELECT p.url FROM moz_bookmarks b JOIN moz_places p ON p.id = b.fk WHERE b.guid = 'tidvaleBkmk1'")
echo "  firefox bookmark: ${fb:-MISSING}"; [ "$fb" = "$bookmarked" ] || status=1
grep -qF "$bookmarked" "$chprofile/Bookmarks" && echo "  chromium bookmark: kept" || { echo "  chromium bookmark: MISSING"; status=1; }
fc=$(sqlite3 "$ffprofile/cookies.sqlite" "SELECT group_concat(DISTINCT host) FROM moz_cookies")
chcookies="$chprofile/Network/Cookies"; [ -f "$chcookies" ] || chcookies="$chprofile/Cookies"
cc=$(sqlite3 "$chcookies" "SELECT group_concat(DISTINCT host_key) FROM cookies")
echo "  firefox cookies of: ${fc:-none}; chromium cookies of: ${cc:-none}"
[ "$fc" = localhost ] && [ "$cc" = localhost ] || status=1
for db in "$ffprofile/places.sqlite" "$ffprofile/favicons.sqlite" "$ffprofile/cookies.sqlite" "$chcookies"; do
  [ -f "$db" ] || continue
  r=$(sqlite3 "$db" "PRAGMA integrity_check")
  echo "  integrity_check ${db#"$home"/}: $r"; [ "$r" = ok ] || status=1
done
for place in "$chprofile/Local Storage" "$ffprofile/storage/default"; do
  k=$({ grep -rlaF "huella-kept-$token" "$place" || true; } | wc -l)
  v=$({ grep -rlaF "huella-visited-$token" "$place" || true; } | wc -l)
  echo "  ${place#"$home"/}: files with the kept site's local storage $k, with the visited one's $v"
  [ "$k" -gt 0 ] && [ "$v" = 0 ] || status=1
done
copy=$(python3 -c 'import json,sys
for e in json.load(open(sys.argv[1]))["removed"]:
    if e.get("edited") and e["path"].endswith("/places.sqlite"): print(e["trashedAs"])' "$work/clean.json" | head -1)
if [ -n "$copy" ] && cmp -s "$copy" "$work/places.before"; then echo "  the Trash holds places.sqlite as it was, byte for byte"
else echo "  the Trash copy of places.sqlite differs or is missing"; status=1; fi

echo "== starting the browsers again on the bookmarked page"
code=0; run timeout 120 firefox-esr --headless --screenshot "$work/again.png" "$bookmarked" >/dev/null 2>&1 || code=$?
echo "  firefox-esr exit $code"; [ "$code" = 0 ] || status=1
code=0; run timeout 120 chromium "${chromium_args[@]}" --dump-dom "$bookmarked" >/dev/null 2>&1 || code=$?
echo "  chromium exit $code"; [ "$code" = 0 ] || status=1
fb=$(sqlite3 "$ffprofile/places.sqlite" "SELECT count(*) FROM moz_bookmarks WHERE guid = 'tidvaleBkmk1'")
echo "  firefox bookmark after the restart: $fb"; [ "$fb" = 1 ] || status=1
grep -qF "$bookmarked" "$chprofile/Bookmarks" && echo "  chromium bookmark after the restart: kept" || status=1

echo "== tidvale-cli undo"
tv undo 2>&1 | grep -v "definitivamente" | sed 's/^/  /' || true
if cmp -s "$ffprofile/places.sqlite" "$work/places.before"; then echo "  places.sqlite is back byte for byte"
else echo "  places.sqlite is not as it was"; status=1; fi
exit $status
