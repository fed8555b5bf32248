#!/bin/sh
# Starts ZIBO from any directory. The game reads "sprites" and "sfx" below its
# working directory and writes "screenshot.bmp" into it, so it runs in a
# per-user directory ($XDG_DATA_HOME/zibo) that links to the installed,
# read-only assets. Nothing the player put there is ever removed or replaced.
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

cd -- "$work" || fail "cannot enter the game's folder $work."
exec "$game" "$@"
