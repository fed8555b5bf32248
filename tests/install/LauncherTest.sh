#!/usr/bin/env bash
# The installed launcher, run from an unrelated directory with HOME in a
# temporary folder, on an installation staged as a packager stages one: the
# game runs in the player's own folder, which links to the installed assets;
# its exit status and messages come back; the player's files are left alone;
# a broken installation is named plainly. No window is needed: without a
# display the game ends at once with its own complaint, and SDL's offscreen
# driver, asked for by name, keeps it running until it is told to stop.
#   bash LauncherTest.sh BUILD_DIR
build=$1
source "$(dirname "$0")/Checks.sh" LauncherTest

stage() {
    rm -rf "$work/stage"
    DESTDIR="$work/stage" cmake --install "$build" --prefix /usr/local >/dev/null
}

# Runs the launcher from $work/elsewhere as a player without a display; its
# standard error goes to $work/err. The exit status is the launcher's.
launch() {
    mkdir -p "$work/elsewhere"
    (cd "$work/elsewhere" && env -u DISPLAY -u XDG_DATA_HOME -u SDL_VIDEODRIVER \
        -u SDL12COMPAT_WINDOW_SCALING "$@" "$work/stage/usr/local/games/zibo" 2>"$work/err")
}

contains() { grep -qF -- "$2" "$1"; }

stage
assets=$work/stage/usr/local/share/zibo
home=$work/home
folder=$home/.local/share/zibo
no_window="FAIL) Can't open the game window"

# A fresh account: the folder and its links are made, the game's own
# complaint and status 1 come back, and the launcher adds nothing to them.
launch HOME="$home"
expect "the game's exit status comes back" test $? -eq 1
expect "the game's complaint comes back" contains "$work/err" "$no_window"
expect "the launcher adds no line" test -z "$(grep "^zibo:" "$work/err")"
expect "sprites link to the installed ones" test "$(readlink "$folder/sprites")" = "$assets/sprites"
expect "sfx link to the installed ones" test "$(readlink "$folder/sfx")" = "$assets/sfx"
expect "nothing lands where the launcher started" test -z "$(ls -A "$work/elsewhere")"

# A second run uses the folder as it is; the player's files stay.
echo "best round: 41 kills" >"$folder/notes.txt"
before=$(stat -c %i "$folder/sprites")
launch HOME="$home"
expect "the link is reused" test "$(stat -c %i "$folder/sprites")" = "$before"
expect "the player's file stays" contains "$folder/notes.txt" "41 kills"

# Told by name to show nothing, the game runs in the player's folder until
# it is told to stop, and its status 0 comes back.
mkdir -p "$work/elsewhere"
(cd "$work/elsewhere" && HOME=$home SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    exec "$work/stage/usr/local/games/zibo") 2>/dev/null >/dev/null &
game=$!
# Once its music streams the game has long set SDL's signal handlers up.
for _ in $(seq 300); do
    ls -l "/proc/$game/fd" 2>/dev/null | grep -q "sfx/0.ogg" && break
    sleep 0.1
done
expect "the game runs in the player's folder" test "$(readlink "/proc/$game/cwd")" = "$folder"
kill -TERM "$game"
wait "$game"
expect "a stopped game's status 0 comes back" test $? -eq 0

# XDG_DATA_HOME holds the folder; the player's own sprites folder is used as
# it is, and a link into an installation that is gone is mended.
data=$work/data
mkdir -p "$data/zibo/sprites"
ln -s /nonexistent/share/zibo/sfx "$data/zibo/sfx"
launch HOME="$home" XDG_DATA_HOME="$data"
expect "the player's own folder is named" contains "$work/err" \
    "zibo: using your own $data/zibo/sprites instead of $assets/sprites."
expect "a dangling link is mended" test "$(readlink "$data/zibo/sfx")" = "$assets/sfx"

# A relative XDG_DATA_HOME is ignored; with no HOME there is no folder.
rm -rf "$home"
launch HOME="$home" XDG_DATA_HOME=relative/data
expect "a relative XDG_DATA_HOME is ignored" test -L "$folder/sprites"
launch -u HOME
expect "no HOME is an error" test $? -eq 1
expect "no HOME is named" contains "$work/err" "zibo: HOME is not set"

# A broken installation is named, and the player's folder is not touched.
rm -rf "$home" "$assets/sfx"
launch HOME="$home"
expect "a missing part ends the launcher" test $? -eq 1
expect "the missing part is named" contains "$work/err" \
    "zibo: the game's sfx folder is missing: $assets/sfx is not installed; reinstall ZIBO."
expect "nothing is made for a broken installation" test ! -e "$home"
stage
rm "$work/stage/usr/local/libexec/zibo/zibo"
launch HOME="$home"
expect "a missing game is named" contains "$work/err" "zibo: the game program is missing"

finish
