#!/usr/bin/env bash
# Installs every Debian package the project needs, and the npm package of
# the data generator's flags. Quick when all are there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config python3
  # tests
  libgtest-dev libgmock-dev xvfb xauth
  # end-to-end tests: input injected into a private X server
  libx11-dev libxtst-dev
  # the X fonts of the message boxes on the virtual display
  xfonts-base
  # platform layer
  libsdl2-dev libgl-dev libgl1-mesa-dri mesa-utils libgtk-3-dev libcurl4-openssl-dev
  libvorbis-dev libsdl2-image-dev
  # engine
  libfreetype-dev zlib1g-dev libtomcrypt-dev nlohmann-json3-dev libstb-dev
  # data generator
  libcairo2-dev librsvg2-dev fonts-dejavu-core
  # the sanitized test builds and the fuzz targets: clang with its linker,
  # libFuzzer and the sanitizers' runtimes
  clang lld libclang-rt-14-dev
  # loopback score server: deciphers submissions on its own
  python3-pycryptodome
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
# npm installs the flag pictures below; Debian's package brings it where the
# machine has no Node.js of its own.
command -v npm >/dev/null || missing+=(npm)

if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq || true
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The country flags that the data generator renders: the npm package pinned
# in tools/datagen/flags/package-lock.json, installed beside it once per
# change of the lock file.
flags="$(cd "$(dirname "$0")/.." && pwd)/tools/datagen/flags"
if ! cmp -s "$flags/package-lock.json" "$flags/node_modules/.hw-installed-lock"; then
  echo "Installing the flag pictures (npm ci in $flags)"
  # One retry: a dropped connection to the registry should not fail a build.
  (cd "$flags" && { npm ci --no-audit --no-fund --ignore-scripts --loglevel=error ||
                    npm ci --no-audit --no-fund --ignore-scripts --loglevel=error; })
  cp "$flags/package-lock.json" "$flags/node_modules/.hw-installed-lock"
fi
