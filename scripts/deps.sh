#!/usr/bin/env bash
# Installs the Debian packages the build needs, or prints the apt-get line when not root.
# Usage: scripts/deps.sh [extra packages...]
set -euo pipefail
pkgs=(cmake g++ make pkg-config libsdl2-dev libgtest-dev libbenchmark-dev libpng-dev zlib1g-dev nlohmann-json3-dev xvfb libx11-dev xz-utils "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
