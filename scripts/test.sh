#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: a real X
# server (Xvfb), Mesa's software OpenGL and SDL's dummy audio driver.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
xvfb-run -a -s "-screen 0 1024x768x24" \
    ctest --test-dir build --output-on-failure -j 2 "$@"
