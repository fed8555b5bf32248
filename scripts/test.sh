#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: a real X
# server (Xvfb), Mesa's software OpenGL and SDL's dummy audio driver.
# The whole suite runs twice: first against the normal build in build/, then
# against an AddressSanitizer + UndefinedBehaviorSanitizer build in
# build-asan/ (its own generated assets, its own zibo executable for the
# end-to-end tests). Either run failing fails the script; it stops at the
# first failing run so that its summary is the last thing printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
# The browser version, which WebTest plays in headless Chromium.
bash scripts/web.sh
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

# -noreset: an X server resets when its last client leaves, and a test that
# connects during the reset has its connection refused. Tests end their
# connections, and start new ones, all the time.
run_suite() {
    xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
        ctest --test-dir "$1" --output-on-failure -j 2 "${@:2}"
}

echo "test: normal build (build/)"
run_suite build "$@"

echo "test: sanitizer build (build-asan/)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZIBO_SANITIZE=ON >/dev/null
cmake --build build-asan -j 2
# Leak checking stays off here: Mesa and SDL keep allocations until exit on
# purpose (scripts/leaks.sh looks at leaks with valgrind instead). Any
# undefined behaviour ends the program at once, so the test fails. The
# browser's test plays the same browser build as the normal run: not again.
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite build-asan -LE web "$@"
