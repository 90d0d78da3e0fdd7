#!/bin/sh
# Renders a contact sheet of every generated picture: the surface textures,
# the GUI, instruction and large-graphics atlases, the font atlases (over a
# checkerboard, so the alpha shows) and the castle map, enlarged.
# Usage: tools/datagen/contact_sheet.sh <resources folder> <output.png>
set -e
res=${1:?resources folder}
out=${2:?output png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tile() {  # source, label, [extra convert options]
    src=$1; label=$2; shift 2
    n=$(ls "$work" | wc -l)
    convert -size 512x512 pattern:checkerboard -fill '#20202a' -colorize 75% "$work/bg.png"
    convert "$work/bg.png" \( "tga:$src" -auto-orient "$@" -resize 512x512 \) \
        -gravity center -composite "$work/$(printf %02d "$n").png"
    echo "$label" > "$work/$(printf %02d "$n").txt"
    rm -f "$work/bg.png"
}

for t in ground carpet wood ceiling box; do tile "$res/textures/$t.tga" "$t.tga"; done
tile "$res/textures/gui.tga" "gui.tga"
tile "$res/textures/instructions.tga" "instructions.tga"
tile "$res/textures/largegraphics.tga" "largegraphics.tga"
tile "$res/fonts/largenumbers.tga" "largenumbers.tga (digits + HUD)"
tile "$res/fonts/scoreletters.tga" "scoreletters.tga"
tile "$res/fonts/small.tga" "small.tga" -filter point
tile "$res/maps/castle.map" "maps/castle.map" -filter point

set --
for f in "$work"/[0-9]*.png; do
    set -- "$@" -label "$(cat "${f%.png}.txt")" "$f"
done
montage "$@" -tile 4x -geometry 320x320+5+5 -background '#111118' -fill '#e8dcc0' \
    -pointsize 15 -depth 8 "$work/sheet.png"
# A 256-colour palette keeps the picture in the repository small.
convert "$work/sheet.png" -colors 256 "PNG8:$out"
