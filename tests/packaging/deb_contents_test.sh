#!/bin/sh
# Builds the Debian package of a build folder with CPack into a scratch
# folder, lists what it holds, and checks every file a player's system needs
# and its control fields. Usage: deb_contents_test.sh <build folder> <AppStream id>
set -u
build=$1
appstream_id=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failures=0
check() {
    if ! "$@"; then
        echo "FAILED: $*"
        failures=$((failures + 1))
    fi
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" > "$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    echo "0 passed, 1 failed"
    exit 1
fi
deb=$(ls "$scratch"/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' > "$scratch/contents"
echo "== $(basename "$deb"): $(wc -l < "$scratch/contents") entries"
grep -v '/resources/' "$scratch/contents"

has() { grep -qx "$1" "$scratch/contents"; }
for path in \
    /usr/games/spookhollow \
    /usr/share/applications/spookhollow.desktop \
    "/usr/share/metainfo/$appstream_id.metainfo.xml" \
    /usr/share/man/man6/spookhollow.6 \
    /usr/share/icons/hicolor/48x48/apps/spookhollow.png \
    /usr/share/icons/hicolor/128x128/apps/spookhollow.png \
    /usr/share/icons/hicolor/256x256/apps/spookhollow.png \
    /usr/share/games/spookhollow/resources/objects.lvl \
    /usr/share/games/spookhollow/resources/maps/castle.map \
    /usr/share/games/spookhollow/resources/audio/intro.ogg; do
    check has "$path"
done
# Only the game's own places: nothing of the build, the tests or a save.
check test -z "$(grep -v -e '^/usr/games/' -e '^/usr/share/' -e '/$' "$scratch/contents")"
check test -z "$(grep -e 'save/' -e 'ErrorLog' -e 'test_' "$scratch/contents")"

field() { dpkg-deb -f "$deb" "$1"; }
check test "$(field Package)" = spookhollow
check test "$(field Version)" = 1.04
check test "$(field Section)" = games
# The shared libraries the executable links, found by dpkg-shlibdeps.
depends=$(field Depends)
echo "Depends: $depends"
for library in libsdl2 libopenal libalut libvorbisfile; do
    check sh -c "echo '$depends' | grep -q '$library'"
done

if [ "$failures" -ne 0 ]; then
    echo "0 passed, $failures failed"
    exit 1
fi
echo "1 passed, 0 failed"
