# Shared by scripts/soak.sh and scripts/leaks.sh (sourced, not run): plays the
# real zibo in an X server with xdotool (XTest input, as a person's keyboard
# and mouse) and tells the screens apart from the game's own F12 screenshot.
#
# The caller sets GAME_DIR (the game's working directory), GAME_STDOUT and
# GAME_STDERR (files for the game's output), starts the game with start_game,
# and may set XDRIVE_SLOW (seconds a key must stay down so that a slow frame
# still sees it; default 0.15).

XDRIVE_SLOW="${XDRIVE_SLOW:-0.15}"
GAME_WINDOW=""
# The window's size, known once it is mapped.
GAME_WIDTH=0
GAME_HEIGHT=0

# The picture as the game saves it: a 24-bit BMP, rows bottom-up after a
# 54-byte header that holds its width and height.
readonly kShotHeaderBytes=54
readonly kShotSizeOffset=18

# Prints the width and height that BMP $1 says it has.
picture_size() {
    od -An -v -tu4 -j "$kShotSizeOffset" -N 8 "$1"
}

# Bytes of one row of $1 pixels: rows are padded to whole 4-byte words.
row_bytes() {
    echo $((($1 * 3 + 3) / 4 * 4))
}

# Whether BMP $1 holds all the rows its header announces.
picture_complete() {
    local width height
    read -r width height < <(picture_size "$1") || return 1
    [ "$(stat -c %s "$1")" -eq $((kShotHeaderBytes + $(row_bytes "$width") * height)) ]
}

# A fresh working directory for the game, GAME_DIR, whose "sprites" and "sfx"
# link to those of build directory $1; it and the game go when the script
# exits. $2 names the directory.
make_game_dir() {
    GAME_DIR="$(mktemp -d "/tmp/zibo-$2.XXXXXX")"
    ln -s "$1/sprites" "$GAME_DIR/sprites"
    ln -s "$1/sfx" "$GAME_DIR/sfx"
    GAME_PID=""
    trap remove_game_dir EXIT
}

remove_game_dir() {
    release_all
    if [ -n "$GAME_PID" ] && game_running; then
        kill -KILL "$GAME_PID" 2>/dev/null || true
    fi
    rm -rf "$GAME_DIR"
}

# Waits up to $1 seconds for the X server to answer: on a busy machine Xvfb
# may not be up yet when xvfb-run starts its command, and a game that finds
# no display ends at once.
wait_for_x_server() {
    local deadline=$((SECONDS + $1))
    until xdpyinfo >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.5
    done
}

game_running() {
    kill -0 "$GAME_PID" 2>/dev/null
}

# Runs "$@" in GAME_DIR and waits up to $1 seconds for its window; sets
# GAME_PID. A start without a window is a failure of its own: the game
# ended (its standard error says why) or is far too slow.
start_game() {
    local bound="$1"
    shift
    (cd "$GAME_DIR" && exec "$@") >"$GAME_STDOUT" 2>"$GAME_STDERR" &
    GAME_PID=$!
    if wait_for_window "$bound"; then
        return 0
    fi
    echo "xdrive: no game window after ${bound} s" >&2
    kill -KILL "$GAME_PID" 2>/dev/null || true
    wait "$GAME_PID" 2>/dev/null || true
    return 1
}

# Waits for the game's window to be mapped; fails after $1 seconds.
wait_for_window() {
    local deadline=$((SECONDS + $1))
    while ((SECONDS < deadline)) && game_running; do
        GAME_WINDOW="$(xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null | head -n 1)"
        if [ -n "$GAME_WINDOW" ]; then
            # No window manager here: focus the window so the keys reach it.
            xdotool windowfocus "$GAME_WINDOW" 2>/dev/null || true
            eval "$(xdotool getwindowgeometry --shell "$GAME_WINDOW" | grep -E '^(WIDTH|HEIGHT)=')"
            GAME_WIDTH=$WIDTH
            GAME_HEIGHT=$HEIGHT
            return 0
        fi
        sleep 0.2
    done
    return 1
}

key_down() { xdotool keydown "$@"; }
key_up() { xdotool keyup "$@"; }
# Key $1 down for $2 seconds (default XDRIVE_SLOW).
tap_key() {
    xdotool keydown "$1"
    sleep "${2:-$XDRIVE_SLOW}"
    xdotool keyup "$1"
}
# Window coordinates.
move_mouse() { xdotool mousemove --window "$GAME_WINDOW" "$1" "$2"; }
button_down() { xdotool mousedown "$1"; }
button_up() { xdotool mouseup "$1"; }
click() {
    xdotool mousedown "$1"
    sleep 0.02
    xdotool mouseup "$1"
}

# Holds F12 for a few frames and copies the finished screenshot to $1.
# Fails when no whole picture came out (the game may be mid-write).
take_picture() {
    local shot="$GAME_DIR/screenshot.bmp"
    rm -f "$shot"
    tap_key F12
    sleep "$XDRIVE_SLOW"
    [ -f "$shot" ] && picture_complete "$shot" || return 1
    cp "$shot" "$1"
    picture_complete "$1"
}

# Counts the pixels of the rectangle left..right x top..bottom (window
# coordinates, inclusive) in picture $1 that pass test $6: "white" (every
# channel above 200) or "red" (red at least 60 above green and blue, the HUD's
# health bar).
count_pixels() {
    local picture="$1" left="$2" top="$3" right="$4" bottom="$5" test="$6" width height
    read -r width height < <(picture_size "$picture")
    local row_bytes
    row_bytes=$(row_bytes "$width")
    local first_row=$((height - 1 - bottom))
    od -An -v -tu1 -w"$row_bytes" -j $((kShotHeaderBytes + first_row * row_bytes)) \
        -N $(((bottom - top + 1) * row_bytes)) "$picture" |
        awk -v left="$left" -v right="$right" -v test="$test" '
            {
                for (x = left; x <= right; x++) {
                    b = $(3 * x + 1); g = $(3 * x + 2); r = $(3 * x + 3)
                    if (test == "white" && r > 200 && g > 200 && b > 200) n++
                    if (test == "red" && r > g + 60 && r > b + 60) n++
                }
            }
            END { print n + 0 }'
}

# The band of the title and statistics screens: white lines across the whole
# width at y 190 and 291.
shows_band() {
    [ "$(count_pixels "$1" 0 190 639 190 white)" -gt 600 ] &&
        [ "$(count_pixels "$1" 0 291 639 291 white)" -gt 600 ]
}

# The play HUD with a health bar of more than about a third: a round is on.
shows_full_hud() {
    [ "$(count_pixels "$1" 40 24 120 32 red)" -gt 300 ]
}

# Waits until the screen passes test $1 (shows_band, shows_full_hud), taking a
# picture every $3 seconds; fails after $2 seconds or when the game has gone.
wait_for_screen() {
    local test="$1" deadline=$((SECONDS + $2)) every="$3"
    local picture="$GAME_DIR/.picture.bmp"
    while ((SECONDS < deadline)) && game_running; do
        if take_picture "$picture" && "$test" "$picture"; then
            return 0
        fi
        sleep "$every"
    done
    return 1
}

# Taps key $3 (held $4 seconds) until the screen passes test $1, tapping again
# when $5 seconds went by without it; fails after $2 seconds. A frame slower
# than the tap misses the key, so one tap is not enough; the keys used this
# way do nothing where the second tap could land.
press_until() {
    local test="$1" deadline=$((SECONDS + $2)) key="$3" hold="$4" patience="$5"
    while ((SECONDS < deadline)) && game_running; do
        tap_key "$key" "$hold"
        if wait_for_screen "$test" "$patience" 0.3; then
            return 0
        fi
    done
    return 1
}

# Waits up to $1 seconds for the game to end and sets GAME_STATUS to its exit
# status, or to "none" when it did not end (it is then killed). Not to be run
# in a subshell: only this shell can reap the game.
wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while ((SECONDS < deadline)) && game_running; do
        sleep 0.2
    done
    if game_running; then
        kill -KILL "$GAME_PID" 2>/dev/null || true
        wait "$GAME_PID" 2>/dev/null || true
        GAME_STATUS=none
        return
    fi
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
}

# Releases every key and button the drivers use, so nothing stays held.
release_all() {
    xdotool keyup w a s d Escape space F12 Shift_L 2>/dev/null || true
    xdotool mouseup 1 2>/dev/null || true
    xdotool mouseup 3 2>/dev/null || true
}
