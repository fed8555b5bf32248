#!/usr/bin/env bash
# Installs what is missing, builds the game and its assets (not the tests or
# the benchmark, which a player never runs), and starts it from the build
# directory, which holds "sprites" and "sfx" beside the executable.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh zibo assets
if [ ! -x build/zibo ]; then
    echo "play: the game executable is not built yet (build/zibo); nothing to start." >&2
    exit 1
fi
cd build
exec ./zibo
