#!/usr/bin/env bash
# Installs every Debian package that building, running and testing ZIBO needs,
# but only those that are missing, so a second run costs a few dpkg queries.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
  libgl-dev libglu1-mesa-dev libgtest-dev
  # asset generator
  libcairo2-dev libfreetype-dev libvorbis-dev libogg-dev fonts-dejavu-core
  # headless tests: X server, software OpenGL, input and window tools
  xvfb xauth xdotool libx11-dev libxtst-dev libgl1-mesa-dri x11-utils zlib1g-dev
  # sanitizer runtime, fuzzing, desktop entry check, benchmark plot
  clang libclang-rt-14-dev desktop-file-utils gnuplot-nox valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
