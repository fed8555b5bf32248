#!/usr/bin/env bash
# Soak: the real zibo of the sanitizer build (build-asan/, AddressSanitizer +
# UndefinedBehaviorSanitizer) played at random for at least the given number
# of minutes (default 5) under Xvfb with xdotool: walking, aiming, firing,
# slow motion, cat mode (shift-right-click on the HUD), rounds ended by ESC
# and by death (standing still until the bad guys have done their work), a new
# round by SPACE from the statistics screen each time, and at the end ESC
# through the credits. Passes when the game ends with status 0 and the
# sanitizers reported nothing. Prints the rounds played and the resident
# memory (VmRSS) at each round's start and end, so one can see that a round
# reset gives the decals and lists back. Logs, the report and a picture of
# each round's statistics screen go to build-asan/soak/. Not part of the
# tests: it runs for minutes.
#
#   bash scripts/soak.sh [minutes]      SOAK_SEED=n fixes the random play.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes="${1:-5}"

if [ -z "${ZIBO_SOAK_IN_X:-}" ]; then
    bash scripts/setup.sh
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZIBO_SANITIZE=ON >/dev/null
    cmake --build build-asan -j 2 --target zibo
    ZIBO_SOAK_IN_X=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$minutes"
fi

source scripts/xdrive.sh

# How long the pieces of a round last, in seconds.
readonly kEscRoundPlay=(15 45)   # random play before ESC ends the round
readonly kDeathRoundPlay=(5 20)  # random play before the player stands still
readonly kDeathWait=300          # bound on standing still until death
readonly kScreenWait=30          # bound on any screen change
readonly kExitWait=60            # bound on the credits and shutdown

# Leak checking is off: Mesa and SDL keep allocations to the end on purpose
# (scripts/leaks.sh looks at leaks). A smaller quarantine for freed memory
# than the default 256 MB, and free pages handed back to the system every
# second, let the resident memory show what the game holds, not how much it
# has freed; use-after-free is still caught for the last 32 MB freed.
readonly asan_options=detect_leaks=0:quarantine_size_mb=32:allocator_release_to_os_interval_ms=1000
readonly ubsan_options=print_stacktrace=1:halt_on_error=1

logs="$PWD/build-asan/soak"
mkdir -p "$logs"
report="$logs/report.txt"
rm -f "$logs"/statistics-*.bmp
seed="${SOAK_SEED:-$(date +%s)}"
RANDOM=$((seed % 32768))

make_game_dir "$PWD/build-asan" soak

fail() {
    echo "soak: FAILED: $*" | tee -a "$report" >&2
    cp "$GAME_DIR/.picture.bmp" "$logs/last-picture.bmp" 2>/dev/null || true
    sanitizer_summary
    exit 1
}

sanitizer_reports() {
    grep -c -E 'ERROR: AddressSanitizer|runtime error:' "$logs/stderr.txt" || true
}

sanitizer_summary() {
    echo "soak: sanitizer reports: $(sanitizer_reports) (details in $logs/stderr.txt)" | tee -a "$report"
}

rss_kb() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$GAME_PID/status" 2>/dev/null || echo "?"
}

random_between() {
    echo $(($1 + RANDOM % ($2 - $1 + 1)))
}

# Held state of the four walk keys and the right button.
declare -A held=([w]=0 [a]=0 [s]=0 [d]=0)
slow_motion_held=0
cat_toggles=0
shots=0

let_go() {
    local key
    for key in w a s d; do
        if [ "${held[$key]}" = 1 ]; then
            key_up "$key"
            held[$key]=0
        fi
    done
    if [ "$slow_motion_held" = 1 ]; then
        button_up 3
        slow_motion_held=0
    fi
}

# Random play for $1 seconds: each step one of walk (a key goes down or up),
# aim, fire, slow motion on or off, cat mode, or a pause.
play_randomly() {
    local until=$((SECONDS + $1)) roll key keys=(w a s d)
    while ((SECONDS < until)) && game_running; do
        roll=$((RANDOM % 100))
        if ((roll < 30)); then
            key="${keys[RANDOM % 4]}"
            if [ "${held[$key]}" = 1 ]; then
                key_up "$key"
                held[$key]=0
            else
                key_down "$key"
                held[$key]=1
            fi
        elif ((roll < 55)); then
            move_mouse $((RANDOM % GAME_WIDTH)) $((RANDOM % GAME_HEIGHT))
        elif ((roll < 80)); then
            click 1
            shots=$((shots + 1))
        elif ((roll < 90)); then
            if [ "$slow_motion_held" = 1 ]; then
                button_up 3
                slow_motion_held=0
            else
                button_down 3
                slow_motion_held=1
            fi
        elif ((roll < 93)); then
            # The cat-mode spot of the HUD; the click also starts slow motion,
            # which the release ends again.
            if [ "$slow_motion_held" = 1 ]; then
                button_up 3
                slow_motion_held=0
            fi
            key_down Shift_L
            move_mouse 40 68
            sleep 0.05
            click 3
            sleep 0.05
            key_up Shift_L
            cat_toggles=$((cat_toggles + 1))
        else
            sleep 0.2
        fi
        sleep 0.05
    done
    let_go
}

echo "soak: ${minutes} min of random play, seed $seed, logs in $logs" | tee "$report"
wait_for_x_server "$kScreenWait" || fail "no X server"
GAME_STDOUT="$logs/stdout.txt"
GAME_STDERR="$logs/stderr.txt"
start_game "$kScreenWait" env ASAN_OPTIONS="$asan_options" UBSAN_OPTIONS="$ubsan_options" \
    LIBGL_ALWAYS_SOFTWARE=1 SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
    "$PWD/build-asan/zibo" || fail "no game window"
started=$SECONDS
wait_for_screen shows_band "$kScreenWait" 0.3 || fail "no title screen"
move_mouse $((GAME_WIDTH / 2)) $((GAME_HEIGHT / 2))

rounds=0
esc_rounds=0
death_rounds=0
printf 'soak: %-6s %-7s %-13s %-13s %s\n' round ended "start kB" "end kB" seconds | tee -a "$report"
while true; do
    # SPACE does nothing in play, so a second tap is harmless.
    press_until shows_full_hud "$kScreenWait" space 0.4 6 || fail "round $((rounds + 1)) did not start"
    rounds=$((rounds + 1))
    round_start=$SECONDS
    start_rss="$(rss_kb)"

    if ((rounds % 2 == 1)); then
        play_randomly "$(random_between "${kEscRoundPlay[@]}")"
        picture="$GAME_DIR/.picture.bmp"
        if take_picture "$picture" && shows_band "$picture"; then
            ended=death
        else
            ended=ESC
            tap_key Escape 0.4
            # Play on into the fade; the game still takes shots and slow motion.
            play_randomly 1
            # ESC again only when no fade has begun 5 seconds on (a fade lasts
            # 2), since ESC on the statistics screen would roll the credits.
            wait_for_screen shows_band 5 0.3 ||
                press_until shows_band "$kScreenWait" Escape 0.4 5 ||
                fail "round $rounds did not end by ESC"
        fi
    else
        play_randomly "$(random_between "${kDeathRoundPlay[@]}")"
        ended=death
        wait_for_screen shows_band "$kDeathWait" 1 || fail "round $rounds did not end by death"
    fi
    # The statistics screen that ended the round, for a person to read.
    cp "$GAME_DIR/.picture.bmp" "$logs/statistics-$rounds.bmp"
    [ "$ended" = ESC ] && esc_rounds=$((esc_rounds + 1)) || death_rounds=$((death_rounds + 1))
    printf 'soak: %-6s %-7s %-13s %-13s %s\n' "$rounds" "$ended" "$start_rss" "$(rss_kb)" \
        $((SECONDS - round_start)) | tee -a "$report"

    if ((SECONDS - started >= minutes * 60 && esc_rounds > 0 && death_rounds > 0)); then
        break
    fi
done

# Out through the credits: ESC on the statistics screen, held until the end.
key_down Escape
wait_for_exit "$kExitWait"
key_up Escape
played=$((SECONDS - started))

{
    echo "soak: $((played / 60)) min $((played % 60)) s, $rounds rounds ($esc_rounds ended by ESC, $death_rounds by death), $shots clicks to fire, $cat_toggles cat-mode toggles"
    echo "soak: exit status $GAME_STATUS"
} | tee -a "$report"
sanitizer_summary
[ "$GAME_STATUS" = 0 ] || fail "exit status $GAME_STATUS"
[ "$(sanitizer_reports)" = 0 ] || fail "sanitizer reports"
echo "soak: passed" | tee -a "$report"
