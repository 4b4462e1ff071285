#!/usr/bin/env bash
# Installs the Debian packages kwplay needs to build, test and benchmark.
# Idempotent: apt-get update runs only when a package is missing, and only
# the missing packages are installed. Works as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libmpg123-dev libvorbis-dev libsoxr-dev
  libalglib-dev
  libfreetype-dev fonts-dejavu-core
  nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # test and benchmark only: MP3 fixtures, the canvas and interpreter yardsticks
  libmp3lame-dev libpixman-1-dev liblua5.4-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and neither root nor sudo" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
echo "setup: done"
