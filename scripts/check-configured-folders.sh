#!/usr/bin/env bash
# Points every folder variable Tidvale follows at the home, a personal folder, a link to
# the home and "/", runs the clean a user schedules (`clean --yes`) and the developer
# caches' clean (`xcode --clean --yes`) as an ordinary user, and shows the home's tree
# hash unchanged after each. "/" is only tried as a dry run, as the user and as root.
# Then fills a fresh home with caches the real tools make (scripts/make-real-dev-caches.sh)
# and shows each recognised and cleaned while the user's own files stay.
# Fails on the first change to the home. No test depends on this script.
# usage: scripts/check-configured-folders.sh [--no-real-tools]
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "run as root: the runs drop to the user nobody" >&2; exit 2; }

cmake --preset ci >/dev/null
cmake --build --preset ci --target tidvale-cli >/dev/null
cli=$PWD/build/ci/bin/tidvale-cli

work=$(mktemp -d /tmp/tidvale-claims-XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
home=$work/home
sys=$work/sys # an empty system root: nothing of this machine's /var is ever offered
mkdir -p "$sys"

# A home whose every folder is the user's own: any removal at all shows in the hash.
for f in Documents/tesis.odt Pictures/foto.jpg Projects/app/main.c git/checkouts/mine/x \
  caches/y store/z registry/cache/w system-images/android.img .config/app/settings.ini \
  .local/share/app/data.db; do
  mkdir -p "$home/$(dirname "$f")"
  head -c 700000 /dev/urandom >"$home/$f"
done
ln -s "$home" "$home/to-home"
chown -R nobody:nogroup "$home"

tree_hash() { (cd "$1" && find . -printf '%p %y %s %T@\n' | LC_ALL=C sort | sha256sum | cut -c1-16); }
as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
run() { # VAR VALUE COMMAND...: the command alone in the environment, with VAR=VALUE
  local var=$1 value=$2; shift 2
  env -i PATH=/usr/bin:/bin HOME="$home" "$var=$value" "$@"
}

variables=(XDG_CACHE_HOME XDG_DATA_HOME XDG_CONFIG_HOME CCACHE_DIR PIP_CACHE_DIR npm_config_cache
  NPM_CONFIG_CACHE YARN_CACHE_FOLDER PNPM_HOME GOCACHE GOMODCACHE GOPATH CARGO_HOME
  GRADLE_USER_HOME electron_config_cache npm_config_devdir NPM_CONFIG_DEVDIR ANDROID_HOME
  ANDROID_SDK_ROOT)
before=$(tree_hash "$home")
echo "home $home, tree hash $before"
printf '%-22s %-34s %-8s %s\n' VARIABLE VALUE HASH "WHAT TIDVALE SAID"
for var in "${variables[@]}"; do
  for value in "$home" "$home/Documents" "$home/to-home" /; do
    if [ "$value" = / ]; then
      said=$(run "$var" "$value" "${as_user[@]}" "$cli" --profile linux --system-root "$sys" clean 2>&1 >/dev/null | grep '⚠️' || true)
      run "$var" "$value" "$cli" --profile linux --system-root "$sys" --json clean >"$work/root.json" 2>/dev/null
      python3 -c 'import json,sys; r=json.load(open(sys.argv[1])); assert not r["removed"], r["removed"]' "$work/root.json"
      run "$var" "$value" "$cli" --profile linux --system-root "$sys" --json xcode >"$work/rows.json"
    else
      said=$(run "$var" "$value" "${as_user[@]}" "$cli" --profile linux --system-root "$sys" clean --yes 2>&1 >/dev/null | grep '⚠️' || true)
      run "$var" "$value" "${as_user[@]}" "$cli" --profile linux --system-root "$sys" --json xcode --clean --yes >/dev/null
      run "$var" "$value" "${as_user[@]}" "$cli" --profile linux --system-root "$sys" --json xcode >"$work/rows.json"
    fi
    [ -n "$said" ] || said=$(python3 -c 'import json,sys
print("; ".join(sorted({r["refusal"] for r in json.load(open(sys.argv[1])) if "refusal" in r})))' "$work/rows.json")
    now=$(tree_hash "$home")
    printf '%-22s %-34s %-8s %s\n' "$var" "${value/#$work/…}" "${now:0:8}" "${said/#⚠️ /}" | cut -c1-160
    [ "$now" = "$before" ] || { echo "FAIL: the home changed under $var=$value" >&2; exit 1; }
  done
done
echo "The home is unchanged after every run: $before"

[ "${1:-}" = --no-real-tools ] && exit 0
echo
echo "Real caches made by the tools themselves:"
real=$work/real
scripts/make-real-dev-caches.sh "$real" >/dev/null
mkdir -p "$real/Documents" && head -c 500000 /dev/urandom >"$real/Documents/tesis.odt"
chown -R nobody:nogroup "$real"
mine=$(tree_hash "$real/Documents")
env -i PATH=/usr/bin:/bin HOME="$real" "${as_user[@]}" "$cli" --profile linux --system-root "$sys" --json xcode >"$work/before.json"
env -i PATH=/usr/bin:/bin HOME="$real" "${as_user[@]}" "$cli" --profile linux --system-root "$sys" --json xcode --clean --yes >"$work/clean.json"
env -i PATH=/usr/bin:/bin HOME="$real" "${as_user[@]}" "$cli" --profile linux --system-root "$sys" --json xcode >"$work/after.json"
python3 - "$work/before.json" "$work/clean.json" "$work/after.json" <<'EOF'
import json, sys
before, clean, after = (json.load(open(p)) for p in sys.argv[1:])
after = {r["name"]: r for r in after}
print(f"{'CACHE':22} {'BEFORE':>12} {'AFTER':>12}  RECOGNISED")
for r in before:
    if not r["isAvailable"] and "refusal" not in r:
        continue
    print(f"{r['name']:22} {r['size']:>12} {after[r['name']]['size']:>12}  {r.get('refusal', 'yes')}")
print(f"freed {clean['freed']} bytes; left: {[l['path'] for l in clean['left']]}")
bad = [r["name"] for r in before if "refusal" in r]
assert not bad, f"real caches not recognised: {bad}"
EOF
[ "$(tree_hash "$real/Documents")" = "$mine" ] || { echo "FAIL: Documents changed" >&2; exit 1; }
echo "Documents unchanged; every real cache recognised."
