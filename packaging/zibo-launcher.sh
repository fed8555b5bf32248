#!/bin/sh
# Starts ZIBO from any directory. The game reads "sprites" and "sfx" below its
# working directory and writes "screenshot.bmp" into it, so it runs in a
# per-user directory ($XDG_DATA_HOME/zibo) that links to the installed,
# read-only assets. Nothing the player put there is ever removed or replaced.
# On a large screen it also has the window scaled up to suit it.
set -u

fail() {
    echo "zibo: $*" >&2
    exit 1
}

self=$(readlink -f -- "$0") || fail "cannot tell where the launcher $0 is installed."
here=${self%/*}
game=$(readlink -m -- "@ZIBO_LAUNCHER_GAME@")
assets=$(readlink -m -- "@ZIBO_LAUNCHER_ASSETS@")

[ -x "$game" ] || fail "the game program is missing: $game is not installed; reinstall ZIBO."
for dir in sprites sfx; do
    [ -d "$assets/$dir" ] ||
        fail "the game's $dir folder is missing: $assets/$dir is not installed; reinstall ZIBO."
done

# A relative XDG_DATA_HOME is invalid and ignored, as the XDG base directory
# rules ask.
case ${XDG_DATA_HOME:-} in
/*) data_home=$XDG_DATA_HOME ;;
*)
    [ -n "${HOME:-}" ] || fail "HOME is not set, so there is no folder to run the game in."
    data_home=$HOME/.local/share
    ;;
esac
work=$data_home/zibo

mkdir -p -- "$work" && [ -d "$work" ] ||
    fail "cannot create the game's folder $work."
for dir in sprites sfx; do
    link=$work/$dir
    if [ -L "$link" ] && [ ! -e "$link" ]; then
        # A link into an installation that is gone, as after an uninstall:
        # it holds nothing, so point it at this one.
        ln -sfn -- "$assets/$dir" "$link" || fail "cannot update the link $link."
    elif [ -L "$link" ]; then
        target=$(readlink -f -- "$link")
        [ "$target" = "$assets/$dir" ] ||
            echo "zibo: using $target (linked from $link) instead of $assets/$dir." >&2
    elif [ -e "$link" ]; then
        echo "zibo: using your own $link instead of $assets/$dir." >&2
    else
        ln -s -- "$assets/$dir" "$link" || fail "cannot create the link $link."
    fi
done

# Large screens: the 640 x 480 window (the game's fixed size) grows by the
# largest whole number at which it still fits the screen with a tenth of the
# screen left for panels and a title bar. sdl12-compat does the scaling; the
# game keeps drawing, reading the mouse and saving screenshots at 640 x 480. A
# scale the player has set, 1 included, stays; without an X screen to ask the
# scale is left alone.
window_width=640
window_height=480
# "WIDTH HEIGHT" of the screen, or nothing. The first Xinerama head is the
# primary monitor; where the server has no Xinerama, the whole first screen.
screen_size() {
    info=$(xdpyinfo -ext XINERAMA 2>/dev/null) || return 0
    head=$(printf '%s\n' "$info" |
        sed -n 's/^ *head #0: *\([0-9][0-9]*\)x\([0-9][0-9]*\) .*/\1 \2/p')
    if [ -n "$head" ]; then
        echo "$head"
    else
        printf '%s\n' "$info" |
            sed -n 's/^ *dimensions: *\([0-9][0-9]*\)x\([0-9][0-9]*\) pixels.*/\1 \2/p' |
            head -n 1
    fi
}
if [ -z "${SDL12COMPAT_WINDOW_SCALING+set}" ] && [ -n "${DISPLAY:-}" ]; then
    size=$(screen_size)
    if [ -n "$size" ]; then
        width=${size% *}
        height=${size#* }
        scale_x=$((width * 9 / 10 / window_width))
        scale_y=$((height * 9 / 10 / window_height))
        scale=$((scale_x < scale_y ? scale_x : scale_y))
        if [ "$scale" -gt 1 ]; then
            SDL12COMPAT_WINDOW_SCALING=$scale
            export SDL12COMPAT_WINDOW_SCALING
        fi
    fi
fi

cd -- "$work" || fail "cannot enter the game's folder $work."
exec "$game" "$@"
