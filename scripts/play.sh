#!/usr/bin/env bash
# Installs what is missing, builds the game and its assets, and starts it from
# the build directory, which holds "sprites" and "sfx" beside the executable.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ ! -x build/zibo ]; then
    echo "play: the game executable is not built yet (build/zibo); nothing to start." >&2
    exit 1
fi
cd build
exec ./zibo
