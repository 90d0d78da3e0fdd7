#!/bin/sh
# Installs the Debian packages the game, its data generator and its tests
# need, when any is missing. Runs apt-get directly as root, else through sudo.
set -e

PACKAGES="
cmake make g++ pkg-config
libsdl2-dev libgl-dev libgl1-mesa-dev libglu1-mesa-dev
libopenal-dev libalut-dev libvorbis-dev
libfreetype-dev fonts-dejavu-core libpng-dev
libx11-dev libgtest-dev libbenchmark-dev
clang-14 libclang-rt-14-dev clang-format
xvfb xauth xdotool x11-utils imagemagick sox vorbis-tools mesa-utils
desktop-file-utils appstream dpkg-dev
"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
