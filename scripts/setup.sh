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
  # headless tests: X server, software OpenGL, input and window tools (x11-utils
  # also gives the launcher xdpyinfo, which it asks for the screen size)
  xvfb xauth xdotool libx11-dev libxtst-dev libgl1-mesa-dri x11-utils libpng-dev
  # SDL's offscreen driver, which a test asks for by name, makes its OpenGL
  # context through EGL
  libegl1
  # desktop tests: a window manager for fullscreen, focus and minimising; the
  # cursor's image (XFixes); SDL 2's virtual game pads, reached under
  # sdl12-compat through SDL 2's header
  openbox libxfixes-dev libsdl2-dev
  # sanitizer runtime, fuzzing, desktop entry check, benchmark plot
  clang libclang-rt-14-dev desktop-file-utils gnuplot-nox valgrind
  # the browser version: Emscripten (with its SDL, SDL_mixer and OpenGL
  # emulation), and its tests: headless Chromium with software WebGL, driven
  # over the DevTools protocol from Debian's python3 (which the test uses by
  # its path: another python3 may come first on PATH), its screenshots read
  # by Pillow
  emscripten chromium python3 python3-websocket python3-pil
  # the Debian package: dependencies computed by dpkg-shlibdeps (which CPack
  # finds the binaries for with file), lintian, the AppStream validator
  dpkg-dev file lintian appstream
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

# As root (a fresh machine, a container) apt-get runs directly: minimal Debian
# has no sudo. The frontend goes through env because sudo drops the caller's
# environment, and a debconf prompt would stall an unattended run.
as_root=(env DEBIAN_FRONTEND=noninteractive)
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "setup: missing ${missing[*]}; run this as root or install sudo" >&2
    exit 1
  fi
  as_root=(sudo "${as_root[@]}")
fi

echo "setup: installing ${missing[*]}"
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
