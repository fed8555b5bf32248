#!/usr/bin/env bash
# Leak check: the real zibo of the normal build (build/) under valgrind's
# memcheck, driven through start-up, one round and shutdown under Xvfb with
# xdotool: the title, SPACE, a round of aiming, firing in all directions,
# walking, slow motion and cat mode, then ESC held from play on through the
# statistics screen and the credits to the end. (Under memcheck a frame lasts
# so long that bullets and bad guys step past each other: a round there is
# ended with ESC, not by death.)
#
# tests/valgrind/zibo.supp lists, with the reason for each, what stays
# allocated at exit on purpose (the sound bank and the music player with
# their samples and tracks, the OpenGL driver's state and textures, SDL's own
# leftovers). Passes when the game ends with status 0 and memcheck has nothing
# else to say: no memory error and nothing lost. valgrind's log goes to
# build/leaks/. Not part of the tests: under valgrind it runs for minutes.
#
#   bash scripts/leaks.sh
#   LEAKS_VALGRIND_ARGS=--gen-suppressions=all bash scripts/leaks.sh
#       also writes a suppression entry for each report, to start a new one.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${ZIBO_LEAKS_IN_X:-}" ]; then
    bash scripts/setup.sh
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j 2 --target zibo
    ZIBO_LEAKS_IN_X=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$@"
fi

source scripts/xdrive.sh

# Under memcheck a frame takes a good part of a second, more on a busy
# machine: keys are held long enough for a frame to see them, and the bounds
# are generous.
XDRIVE_SLOW=1.5
readonly kWindowWait=120  # the window, which comes before any loading
readonly kStartWait=900   # start-up: textures, samples, music
readonly kScreenWait=300  # one screen change
readonly kExitWait=900    # fades, credits, shutdown and the leak search
readonly kSweepDirections=12

logs="$PWD/build/leaks"
mkdir -p "$logs"
log="$logs/valgrind.txt"
rm -f "$log"

make_game_dir "$PWD/build" leaks

fail() {
    echo "leaks: FAILED: $*" >&2
    exit 1
}

# Fires one shot towards each of the sweep's directions around the player;
# bad guys walk straight at him, so some of them walk into a shot.
fire_sweep() {
    local i x y
    for ((i = 0; i < kSweepDirections; i++)); do
        read -r x y < <(awk -v i="$i" -v n="$kSweepDirections" \
            -v cx=$((GAME_WIDTH / 2)) -v cy=$((GAME_HEIGHT / 2)) \
            'BEGIN { a = 6.283185307 * i / n; printf "%d %d\n", cx + 200 * cos(a), cy + 200 * sin(a) }')
        move_mouse "$x" "$y"
        # The shot leaves along the facing of the frame before.
        sleep "$XDRIVE_SLOW"
        click 1
    done
}

wait_for_x_server 60 || fail "no X server"
GAME_STDOUT="$logs/stdout.txt"
GAME_STDERR="$logs/stderr.txt"
started=$SECONDS
start_game "$kWindowWait" env LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=softpipe \
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
    valgrind --tool=memcheck --leak-check=full \
    --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \
    --suppressions="$PWD/tests/valgrind/zibo.supp" --keep-debuginfo=yes \
    --child-silent-after-fork=yes --num-callers=40 --error-exitcode=99 -v \
    ${LEAKS_VALGRIND_ARGS:-} --log-file="$log" "$PWD/build/zibo" || fail "no game window"
wait_for_screen shows_band "$kStartWait" 2 || fail "no title screen"
echo "leaks: title screen after $((SECONDS - started)) s"
key_down space
wait_for_screen shows_full_hud "$kScreenWait" 2 || fail "no round"
key_up space
echo "leaks: round started after $((SECONDS - started)) s"

# A walk round the middle, slow motion, cat mode on and off again.
for key in d s a w; do
    tap_key "$key" 3
done
button_down 3
fire_sweep
button_up 3
for round in 1 2; do
    key_down Shift_L
    move_mouse 40 68
    sleep "$XDRIVE_SLOW"
    click 3
    sleep "$XDRIVE_SLOW"
    key_up Shift_L
done
fire_sweep
echo "leaks: round played, ESC held from $((SECONDS - started)) s"

# ESC held from play on: the round ends, two seconds later the statistics
# screen sees ESC and fades to the credits, which see it and end the game.
key_down Escape
wait_for_exit "$kExitWait"
key_up Escape
echo "leaks: game ended with status $GAME_STATUS after $((SECONDS - started)) s"

summary() {
    grep -E '^==[0-9]+== +(definitely lost|indirectly lost|possibly lost|still reachable|suppressed):|ERROR SUMMARY' "$log" |
        sed 's/^==[0-9]*== */leaks: /' | awk '!seen[$0]++'
}
used_suppressions() {
    sed -n 's/^--[0-9]*-- used_suppression: *\([0-9]*\) \([^ ]*\) .*/\2 \1/p' "$log" | awk '!seen[$0]++'
}
summary
echo "leaks: suppressions used (loss records or errors matched):"
used_suppressions | sed 's/^/leaks:   /'
case "$GAME_STATUS" in
0) ;;
99) fail "memcheck found errors or leaks, see $log" ;;
*) fail "exit status $GAME_STATUS, see $log" ;;
esac
# The entry for the two objects Game::startUp keeps would also hide any other
# object that start-up makes and shutdown forgot: it must match just those two.
kept="$(used_suppressions | awk '$1 == "kept-sound-bank-and-music-player" { print $2 }')"
[ "$kept" = 2 ] || fail "Game::startUp left ${kept:-0} objects behind, not 2 (sound bank, music player)"
echo "leaks: passed"
