#!/usr/bin/env bash
# Installs the reference tools the benchmarks compare Tidvale against, and nothing
# when they are there already. Kept apart from install-deps.sh: building and testing
# Tidvale never needs them.
set -euo pipefail

debian_packages=(jdupes fdupes rmlint hyperfine time gdu)

case "$(uname -s)" in
  Linux)
    command -v apt-get >/dev/null || { echo "Only Debian-based Linux is scripted; install ${debian_packages[*]} by hand." >&2; exit 1; }
    missing=()
    for p in "${debian_packages[@]}"; do
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
      echo "Installing: ${missing[*]}"
      sudo=""
      [ "$(id -u)" -ne 0 ] && sudo="sudo"
      $sudo apt-get update -qq
      DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
    ;;
  Darwin)
    command -v brew >/dev/null || { echo "Homebrew is needed: https://brew.sh" >&2; exit 1; }
    for f in jdupes fdupes rmlint hyperfine gnu-time gdu; do
      brew list --versions "$f" >/dev/null 2>&1 || brew install "$f"
    done
    ;;
  *) echo "Unsupported system: $(uname -s)" >&2; exit 1 ;;
esac
# The tree generator and the result check are Python scripts.
command -v python3 >/dev/null || { echo "python3 is needed for bench/make-tree.py" >&2; exit 1; }
