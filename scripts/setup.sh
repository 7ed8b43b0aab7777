#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quobrix needs.
# Idempotent: packages already installed are skipped, so a second run is quick.
set -euo pipefail

packages=(
  # toolchain
  g++ cmake ninja-build ccache pkg-config
  # libraries
  libcegui-mk2-dev libcegui-mk2-data
  libpoco-dev libssl-dev ca-certificates libtinyxml-dev libfreeimage-dev libsqlite3-dev
  libsdl2-dev libglm-dev libglew-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libfreetype-dev libfontconfig-dev liblitehtml-dev libgumbo-dev
  fonts-wqy-zenhei fonts-dejavu-core
  # artwork generator (scripts/gen_artwork.py)
  python3 python3-pil
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick x11-utils x11-xserver-utils xdg-utils curl openssl
  # install checks and the Debian package (scripts/package.sh)
  dpkg-dev fakeroot file binutils lintian appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
