#!/usr/bin/env bash
# Installs every Debian package the project needs. Quick when all are there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config python3
  # tests
  libgtest-dev libgmock-dev xvfb xauth
  # platform layer
  libsdl2-dev libgl-dev libgl1-mesa-dri mesa-utils libgtk-3-dev libcurl4-openssl-dev
  libvorbis-dev
  # engine
  libfreetype-dev zlib1g-dev libtomcrypt-dev nlohmann-json3-dev libstb-dev
  # data generator
  libcairo2-dev fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq || true
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
