#!/usr/bin/env bash
# The browser version against the desktop (bench/web_bench.py): builds both,
# then measures under Xvfb with Mesa's software OpenGL and headless Chromium
# on SwiftShader, and writes the figures into docs/bench/results.md.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/web.sh
bash scripts/build.sh zibo-paced-bench
LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" /usr/bin/python3 bench/web_bench.py
