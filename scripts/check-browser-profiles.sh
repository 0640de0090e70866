#!/usr/bin/env bash
# Makes real Firefox ESR and Chromium profiles in a throw-away home, then prints what
# `tidvale-cli browsers --history` and `scan` find there beside du's and find's
# figures for the same folders, and what `clean` leaves while the browsers run. Fails
# when a cache folder the browsers made is not found or measured differently. Needs Debian's firefox-esr and chromium (installed here
# when missing); no test depends on this script.
# usage: scripts/check-browser-profiles.sh [--keep]
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for p in firefox-esr chromium; do
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

work=$(mktemp -d /tmp/tidvale-browsers-XXXXXX)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ "${1:-}" = --keep ] || rm -rf "$work"
}
trap 'cleanup "${KEEP:-}"' EXIT
[ "${1:-}" = --keep ] && KEEP=--keep && echo "keeping $work"

# A page, a script and an image, all sent with Cache-Control so both browsers store
# them in their disk caches.
cat >"$work/serve.py" <<'PY'
import http.server, sys
PNG = bytes.fromhex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c4890000000d49444154789c63f8cfc0f01f0004850180e9a98c210000000049454e44ae426082")
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("/img"):
            body, kind = PNG, "image/png"
        elif self.path.startswith("/big.js"):
            body, kind = b"var big='" + b"x" * 300000 + b"';", "application/javascript"
        else:
            body, kind = b"<html><head><script src='/big.js'></script></head><body><img src='/img.png'>hola</body></html>", "text/html"
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "max-age=3600")
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
PY
python3 "$work/serve.py" >"$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat "$work/port")/"

home="$work/home"
legacy="$work/legacy"
mkdir -p "$home" "$legacy/.mozilla/firefox"
run() { env -u XDG_CACHE_HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="${HOME_FOR:-$home}" "$@"; }

echo "== making profiles in $home"
run timeout 120 firefox-esr --headless --screenshot "$work/firefox.png" "$url" >/dev/null 2>&1
run timeout 60 firefox-esr --headless -CreateProfile "second" >/dev/null 2>&1
run timeout 120 firefox-esr --headless -P second --screenshot "$work/firefox2.png" "$url?2" >/dev/null 2>&1
mkdir -p "$work/elsewhere/absolute"
run timeout 60 firefox-esr --headless -CreateProfile "absolute $work/elsewhere/absolute" >/dev/null 2>&1
run timeout 120 firefox-esr --headless -P absolute --screenshot "$work/firefox3.png" "$url?3" >/dev/null 2>&1
# Firefox keeps using the legacy folder when it is there.
HOME_FOR="$legacy" run timeout 120 firefox-esr --headless --screenshot "$work/firefox4.png" "$url?4" >/dev/null 2>&1
chromium_args=(--headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking
  --disable-component-update --disable-sync "--user-data-dir=$home/.config/chromium" --virtual-time-budget=3000)
run timeout 120 chromium "${chromium_args[@]}" --dump-dom "$url" >/dev/null 2>&1
run timeout 120 chromium "${chromium_args[@]}" "--profile-directory=Profile 1" --dump-dom "$url?p1" >/dev/null 2>&1

mkdir -p "$work/root"
tv() { run "$cli" --json --profile linux --system-root "$work/root" "$@" 2>/dev/null; }
# One line per item: kind, size, name, path.
items() {
  python3 -c 'import json,sys
for i in json.load(sys.stdin):
    kind = "history" if i["name"].startswith("Historial") else ("browser" if i["category"] not in ("Caché de Usuario","Caché del Sistema","Registros de Usuario","Registros del Sistema","Papelera") else "junk")
    print("\t".join([kind, str(i["size"]), i["name"], i["path"]]))'
}

echo "== clean while both browsers run: what it leaves, and why"
run timeout 30 firefox-esr --headless "$url" >/dev/null 2>&1 &
ff=$!
run timeout 30 chromium "${chromium_args[@]}" --remote-debugging-port=0 "$url" >/dev/null 2>&1 &
ch=$!
sleep 10
tv clean --history | python3 -c 'import json,sys
r = json.load(sys.stdin)
for e in r["left"]: print("  left:", e["path"].split("/home/",1)[-1], "—", e["reason"])
print("  would remove", len(r["removed"]), "items")'
kill "$ff" "$ch" 2>/dev/null || true
wait "$ff" "$ch" 2>/dev/null || true

echo "== what tidvale finds (bytes: tidvale, find's files, du --apparent-size)"
{ tv browsers --history | items; tv scan | items
  HOME_FOR="$legacy" run "$cli" --json --profile linux --system-root "$work/root" browsers 2>/dev/null | items
} >"$work/found"
status=0
while IFS=$'\t' read -r step size name path; do
  files=$(find "$path" ! -type d -printf '%s\n' 2>/dev/null | awk '{s+=$1} END {print s+0}')
  du=$(du -sb --apparent-size "$path" | cut -f1)
  printf '  %-8s %10s %10s %10s  %s\n' "$step" "$size" "$files" "$du" "$name ${path#"$work"/}"
  [ "$size" = "$files" ] || { echo "    size differs from find's for $path" >&2; status=1; }
done <"$work/found"

echo "== cache folders the browsers made that the listing missed"
missed=0
while IFS= read -r dir; do
  if ! cut -f4 "$work/found" | grep -qxF "$dir"; then
    echo "  $dir"; missed=1
  fi
done < <(find "$home" "$legacy" "$work/elsewhere" -type d \( -name cache2 -o -name Cache -o -name 'Code Cache' -o -name GPUCache \) \
  ! -path '*/Cache/*' ! -path '*/GPUPersistentCache/*')
[ "$missed" = 0 ] && echo "  none"
exit $((status | missed))
