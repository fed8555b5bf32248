#!/usr/bin/env bash
# Builds the browser version into build-web/: our page (index.html), zibo.js,
# zibo.wasm and zibo.data (the generated sprites/ and sfx/ packed), with
# Emscripten; the assets come from the desktop build's generator in build/.
#   --serve  then serves build-web/ on http://127.0.0.1:8000/
#   --zip    also writes build-web/zibo-web.zip, the folder as a static site
set -euo pipefail
cd "$(dirname "$0")/.."
serve=0
zip=0
for arg in "$@"; do
    case "$arg" in
        --serve) serve=1 ;;
        --zip) zip=1 ;;
        *) echo "usage: bash scripts/web.sh [--serve] [--zip]" >&2; exit 2 ;;
    esac
done

bash scripts/build.sh assets
# Debian's emcc runs on the machine's node, and needs Debian's acorn when
# that node is another one.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
emcmake cmake -S . -B build-web/cmake -DCMAKE_BUILD_TYPE=Release \
    -DZIBO_WEB_ASSETS="$PWD/build" >/dev/null
cmake --build build-web/cmake -j 2
site=(index.html zibo.js zibo.wasm zibo.data)
for file in "${site[@]}"; do
    cp "build-web/cmake/$file" build-web/
done
echo "web: built build-web/ ($(cd build-web && du -cb zibo.js zibo.wasm zibo.data | tail -n 1 | cut -f 1) bytes to download)"

if [ "$zip" -eq 1 ]; then
    rm -f build-web/zibo-web.zip
    (cd build-web && python3 -m zipfile -c zibo-web.zip "${site[@]}")
    echo "web: wrote build-web/zibo-web.zip"
fi
if [ "$serve" -eq 1 ]; then
    echo "web: serving ZIBO on http://127.0.0.1:8000/ (Ctrl+C stops)"
    exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web
fi
