#!/usr/bin/env bash
# The check for changes that must not move a pixel or a log line: the game's
# own F12 screenshots of the title, three rounds, slow motion, the statistics
# screen and the credits, taken by `zibo-bench pictures` under a fixed seed
# and a stepped clock, with the log of the run.
#
#   bash scripts/pictures.sh DIR         pictures and log of this tree into DIR
#   bash scripts/pictures.sh --compare REV
#                                        the same for REV (built in a temporary
#                                        worktree) and for this tree; exit 1
#                                        when any picture or log line differs
#
# The mixer's "Couldn't play sample" refusals depend on the audio thread's
# timing and differ between two runs of the same build: they are left out
# of the logs compared.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

usage() {
    echo "usage: bash scripts/pictures.sh DIR | --compare REV" >&2
    exit 2
}

# take_pictures BUILD_DIR OUT_DIR
take_pictures() {
    mkdir -p "$2"
    rm -f "$2"/*.bmp "$2"/results.txt
    (cd "$1" && LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy \
        xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
        ./bench/zibo-bench pictures "$2" "$2/results.txt" >"$2/stdout.log" 2>"$2/stderr.raw")
    grep -v "^Couldn't play sample" "$2/stderr.raw" >"$2/stderr.log" || true
    rm -f "$2/stderr.raw"
}

# build_for_pictures SOURCE_DIR BUILD_DIR
build_for_pictures() {
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$2" -j 2 --target zibo-bench assets >/dev/null
}

[ $# -ge 1 ] || usage
if [ "$1" != "--compare" ]; then
    [ $# -eq 1 ] || usage
    bash scripts/setup.sh
    build_for_pictures "$root" "$root/build"
    take_pictures "$root/build" "$(realpath -m "$1")"
    echo "pictures: $(ls "$1"/*.bmp | wc -l) screenshots and the logs in $1"
    exit 0
fi

[ $# -eq 2 ] || usage
bash scripts/setup.sh
work=$(mktemp -d)
trap 'git -C "$root" worktree remove --force "$work/tree" >/dev/null 2>&1; rm -rf "$work"' EXIT
git worktree add --detach "$work/tree" "$2" >/dev/null
build_for_pictures "$work/tree" "$work/build"
build_for_pictures "$root" "$root/build"
take_pictures "$work/build" "$work/before"
take_pictures "$root/build" "$work/after"

status=0
for before in "$work/before"/*.bmp "$work/before"/*.log "$work/before/results.txt"; do
    name=${before##*/}
    if cmp -s "$before" "$work/after/$name"; then
        echo "pictures: $name is the same"
    else
        echo "pictures: $name DIFFERS between $2 and this tree"
        status=1
    fi
done
exit $status
