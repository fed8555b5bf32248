#!/bin/sh
# Starts ZIBO from any directory. The game reads "sprites" and "sfx" below its
# working directory and writes "screenshot.bmp" into it, so it runs in a
# per-user directory that links to the installed, read-only assets.
set -u

here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")
game="$prefix/@ZIBO_GAME_DIR@/zibo"
assets="$prefix/@ZIBO_ASSET_DIR@"
data_home=${XDG_DATA_HOME:-${HOME:?HOME is not set}/.local/share}
work="$data_home/zibo"

fail() {
    echo "zibo: $*" >&2
    exit 1
}

[ -x "$game" ] || fail "the game program is not installed at $game; reinstall ZIBO."
for dir in sprites sfx; do
    [ -d "$assets/$dir" ] || fail "the game's $dir folder is missing from $assets; reinstall ZIBO."
done

mkdir -p "$work" || fail "cannot create the working directory $work."
for dir in sprites sfx; do
    link="$work/$dir"
    if [ -L "$link" ]; then
        # Our own link from an earlier run: point it at this installation.
        ln -sfn "$assets/$dir" "$link" || fail "cannot update $link."
    elif [ -e "$link" ]; then
        # Never touch what the player put there; use it as it is.
        echo "zibo: using your own $link instead of the installed $dir." >&2
    else
        ln -s "$assets/$dir" "$link" || fail "cannot link $link."
    fi
done

cd "$work" || fail "cannot enter $work."
"$game" "$@"
exit $?
