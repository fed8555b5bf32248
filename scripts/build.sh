#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/: every
# target, or only the targets named as arguments (and what they need).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -eq 0 ]; then
    cmake --build build -j 2
else
    cmake --build build -j 2 --target "$@"
fi
