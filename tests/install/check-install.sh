#!/usr/bin/env bash
# Installs the build into a temporary root as a package would (prefix /usr) and checks
# that Tidvale is a desktop application there: the programs, the helper where the
# polkit rule says it is, the menu entry (accepted by desktop-file-validate) and the
# icon in the hicolor theme.
# usage: check-install.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d /tmp/tidvale-install-XXXXXX)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for f in usr/bin/tidvale usr/bin/tidvale-cli usr/libexec/tidvale/tidvale-admin-helper; do
  [ -x "$root/$f" ] || fail "$f is not installed as a program"
done
desktop=$root/usr/share/applications/tidvale.desktop
policy=$root/usr/share/polkit-1/actions/org.tidvale.admin-helper.policy
[ -f "$root/usr/share/icons/hicolor/scalable/apps/tidvale.svg" ] || fail "no icon in hicolor"
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$policy" ] || fail "no polkit action"

grep -qx 'Exec=/usr/bin/tidvale' "$desktop" || fail "the entry does not start /usr/bin/tidvale"
grep -qx 'Icon=tidvale' "$desktop" || fail "the entry does not name the icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the entry"
else
  echo "desktop-file-validate is not installed; the entry was not validated" >&2
fi

# The rule must name exactly the installed helper: pkexec matches the path as given.
python3 - "$policy" <<'PY' || fail "the polkit action is not what pkexec expects"
import sys, xml.etree.ElementTree as ET
action = ET.parse(sys.argv[1]).getroot().find("action")
assert action.get("id") == "org.tidvale.admin-helper"
notes = {a.get("key"): a.text for a in action.findall("annotate")}
assert notes["org.freedesktop.policykit.exec.path"] == "/usr/libexec/tidvale/tidvale-admin-helper", notes
assert action.find("defaults/allow_active").text == "auth_admin"
assert any("Tidvale" in (m.text or "") for m in action.findall("message"))
PY
echo "installed layout is complete"
