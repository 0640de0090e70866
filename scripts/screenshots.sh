#!/usr/bin/env bash
# Starts Tidvale under Xvfb on a home folder full of junk and takes screenshots to look
# at: the real application driven from outside with xdotool (Smart Scan before a scan,
# after it and after a clean), then every screen in the light and dark palettes through
# tidvale-screen-driver. Pictures go to the folder given (default /tmp/tidvale-shots);
# do not commit them.
#   scripts/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--inside-xvfb" ]; then inside=1; out="$2"; else inside=0; out="${1:-/tmp/tidvale-shots}"; fi
mkdir -p "$out"

[ "$inside" = 1 ] || command -v xdotool >/dev/null || {
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends xdotool >/dev/null
}
if [ "$inside" = 0 ]; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
  cmake --preset ci >/dev/null
  cmake --build --preset ci --target tidvale tidvale-screen-driver >/dev/null
fi
bin=build/ci/bin/tidvale
driver=build/ci/tests/tidvale-screen-driver

run_in_xvfb() { # the commands of this script's second half, under one X server
  local home
  home="$(scripts/make-junk-home.sh)"
  HOME="$home" "$bin" &
  local app=$!
  local win
  win="$(xdotool search --sync --onlyvisible --name '^Tidvale$' | head -1)"
  sleep 1
  import -window root "$out/app-1-ready.png"
  # The scan button sits centred in the content pane, 164 points from the top.
  eval "$(xdotool getwindowgeometry --shell "$win")"
  local cx=$(( 221 + (WIDTH - 221) / 2 ))
  xdotool mousemove --window "$win" "$cx" 164 click 1
  sleep 3
  import -window root "$out/app-2-results.png"
  # Seven cards do not fit: scroll them to their end. The clean button stays in view
  # under them, 12 points above the bottom edge.
  xdotool mousemove --window "$win" "$cx" $(( HEIGHT - 120 ))
  for _ in $(seq 10); do xdotool click 5; done
  sleep 0.5
  import -window root "$out/app-3-scrolled.png"
  xdotool mousemove --window "$win" "$cx" $(( HEIGHT - 12 - 22 )) click 1
  sleep 1
  import -window root "$out/app-4-confirm.png"
  xdotool key --window "$win" Return
  sleep 1
  import -window root "$out/app-5-cleaned.png"
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  rm -rf "$home"

  for mode in light dark; do
    home="$(scripts/make-junk-home.sh)"
    HOME="$home" "$driver" "$out" "$mode"
    rm -rf "$home"
  done
}

if [ "$inside" = 1 ]; then
  # The clean above is real: the machine's own junk folders get empty stand-ins, so
  # pictures never cost the machine its logs or package files.
  if [ "$(id -u)" = 0 ] && [ -z "${TIDVALE_SHOTS_PRIVATE:-}" ] && unshare -m true 2>/dev/null; then
    exec env TIDVALE_SHOTS_PRIVATE=1 unshare -m --propagation private bash -c '
      for d in /var/log /var/cache/apt/archives /var/crash /var/lib/systemd/coredump; do
        [ -d "$d" ] && mount -t tmpfs none "$d"
      done
      exec bash "$0" --inside-xvfb "$1"' "$0" "$out"
  fi
  run_in_xvfb; exit 0
fi
xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" --inside-xvfb "$out"
echo "Screenshots in $out"
