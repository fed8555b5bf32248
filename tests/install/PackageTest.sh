#!/usr/bin/env bash
# The Debian package that "cpack -G DEB" makes of the installed tree, built
# twice by the PackageBuild fixture: its control fields and file list, the
# build's assets inside it, dependencies that dpkg-shlibdeps computed and
# that install here, clean reports from lintian, the AppStream validator and
# the desktop entry validator, the same bytes from two builds, and a launcher
# that finds the game in the unpacked tree.
#   bash PackageTest.sh PACKAGE_DIR BUILD_DIR SOURCE_DIR VERSION
packages=$(realpath "$1") build=$(realpath "$2") source=$(realpath "$3") version=$4
arch=$(dpkg --print-architecture)
deb=$packages/first/zibo_${version}_$arch.deb
source "$(dirname "$0")/Checks.sh" PackageTest
same() { [ "$1" = "$2" ] || { printf 'got: %s\nnot: %s\n' "$1" "$2" >&2 && false; }; }

[ -f "$deb" ] || { echo "no $deb: see the PackageBuild test" >&2 && exit 1; }
field() { dpkg-deb --field "$deb" "$1"; }
expect "control fields" same "$(field Package) $(field Version) $(field Architecture) \
$(field Section)" "zibo $version $arch games"

# Every file where it belongs, programs executable, nothing else.
{
    echo "-rwxr-xr-x ./usr/games/zibo"
    echo "-rwxr-xr-x ./usr/libexec/zibo/zibo"
    for file in share/applications/zibo.desktop share/metainfo/org.example.zibo.metainfo.xml \
        share/man/man6/zibo.6.gz share/doc/zibo/changelog.gz share/doc/zibo/copyright \
        $(grep '^ZIBO_' "$source/game/AssetManifest.def" | grep -oE '"(sprites|sfx)/[^"]+"' |
            tr -d '"' | sed 's|^|share/zibo/|'); do
        echo "-rw-r--r-- ./usr/$file"
    done
    for icon in "$build"/icons/zibo-*.png; do
        size=${icon##*-}
        size=${size%.png}
        echo "-rw-r--r-- ./usr/share/icons/hicolor/${size}x$size/apps/zibo.png"
    done
} | sort >"$work/expected"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $1, $6 }' | sort >"$work/files"
expect "the package's files" diff "$work/expected" "$work/files"

dpkg-deb -x "$deb" "$work/root"
for asset in "$build"/sprites/* "$build"/sfx/*; do
    expect "${asset#$build/} is the build's" cmp -s "$asset" "$work/root/usr/share/zibo/${asset#$build/}"
done
for icon in "$work"/root/usr/share/icons/hicolor/*/apps/zibo.png; do
    size=${icon%/apps/zibo.png}
    size=${size##*/}
    expect "the $size icon's size" file "$icon" | grep -q "${size/x/ x }"
done

# lintian writes its tags on standard output; its own remarks, such as the one
# about running as root, go to standard error.
expect "lintian reports nothing" same "$(lintian "$deb" 2>/dev/null)" ""
expect "the AppStream metadata is valid" appstreamcli validate --no-net --no-color \
    "$work/root/usr/share/metainfo/org.example.zibo.metainfo.xml" >/dev/null
expect "the desktop entry is valid" desktop-file-validate \
    "$work/root/usr/share/applications/zibo.desktop"
expect "two builds give the same bytes" cmp "$deb" "$packages/second/${deb##*/}"

# Depends: what the binaries link, as dpkg-shlibdeps found it (with the
# versions it adds), and what no linker sees, by hand.
depends=$(field Depends)
game=$work/root/usr/libexec/zibo/zibo
if ! readelf -d "$game" | grep -q libasan; then
    needed=$(readelf -d "$game" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    for library in $(ldd "$game" | awk -v needed=" $(echo $needed) " \
        '$2 == "=>" && index(needed, " " $1 " ") { print $3 }'); do
        owner=$(dpkg-query -S "$(readlink -f "$library")" 2>/dev/null | head -n 1 | cut -d: -f1)
        provided=$(dpkg-query -W -f='${Provides}' "$owner" 2>/dev/null | sed 's/ ([^)]*)//g')
        expect "$library's package is a dependency" grep -qE \
            "(^|[ ,|])($owner|${provided//, /|})( |,|$)" <<<"$depends"
    done
    expect "versions from dpkg-shlibdeps" grep -q "libsdl-image1.2 (>= " <<<"$depends"
    expect "installing it here adds nothing else" same \
        "$(apt-get install --simulate --quiet "$deb" | grep '^Inst ' | cut -d' ' -f2)" "zibo"
fi
for opened in libgl1 libegl1; do
    expect "$opened is a dependency" grep -qE "(^|, )$opened(,|$)" <<<"$depends"
done
expect "x11-utils is a dependency" grep -qE "(^|, )x11-utils(,|$)" <<<"$depends"

# The unpacked launcher finds the game and its assets: without a display the
# game itself says why it cannot open its window.
(cd "$work" && env -u DISPLAY HOME="$work/home" "$work/root/usr/games/zibo" 2>"$work/err" >/dev/null)
expect "the unpacked game runs" grep -q "FAIL) Can't open the game window" "$work/err"

finish
