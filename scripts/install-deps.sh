#!/usr/bin/env bash
# Installs what building, running and testing Tidvale needs, and nothing when it is
# all there already (a second run costs a few package look-ups, no downloads).
set -euo pipefail

debian_packages=(
  g++ cmake ninja-build ccache pkg-config make clang-format
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev qt6-image-formats-plugins libgl-dev
  libglib2.0-dev libssl-dev nlohmann-json3-dev libtomlplusplus-dev googletest libgtest-dev
  libsqlite3-dev libleveldb-dev libsnappy-dev
  breeze-icon-theme fonts-noto-color-emoji fonts-dejavu-core
  xvfb xauth imagemagick pkexec dbus systemd
  libglib2.0-bin trash-cli e2fsprogs xdg-user-dirs desktop-file-utils dpkg-dev dex python3
  at-spi2-core python3-pyatspi dbus-x11 xdotool ncdu
)

install_debian() {
  local missing=()
  for p in "${debian_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_macos() {
  command -v brew >/dev/null || { echo "Homebrew is needed: https://brew.sh" >&2; exit 1; }
  local formulae=(cmake ninja ccache qt@6 openssl@3 nlohmann-json tomlplusplus sqlite leveldb googletest clang-format ncdu)
  local missing=()
  for f in "${formulae[@]}"; do brew list --versions "$f" >/dev/null 2>&1 || missing+=("$f"); done
  [ ${#missing[@]} -eq 0 ] || brew install "${missing[@]}"
}

case "$(uname -s)" in
  Linux)
    if command -v dpkg-query >/dev/null && command -v apt-get >/dev/null; then install_debian
    else echo "Only Debian-based Linux is scripted; install the packages listed in $0 by hand." >&2; exit 1; fi ;;
  Darwin) install_macos ;;
  *) echo "Unsupported system: $(uname -s)" >&2; exit 1 ;;
esac
