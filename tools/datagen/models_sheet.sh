#!/bin/sh
# Renders the generated models as the game shows them (the ghost and the
# pickups in the world, the weapons in eye space, plus side views of the
# weapons) through the GL test of the models, and puts them on one sheet.
# Usage: tools/datagen/models_sheet.sh <build folder> <output.png>
# Needs a display; under a headless machine wrap it in xvfb-run.
set -e
build=${1:?build folder}
out=${2:?output png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

SPOOKHOLLOW_MESSAGE_BOX=stderr SPOOKHOLLOW_MODEL_PNG="$work" \
    "$build/tests/test_datagen_gl" --gtest_filter='ModelsGl.*' > "$work/log.txt" 2>&1 ||
    { cat "$work/log.txt"; exit 1; }

set --
for pair in "ghost:ghost.qvr (mid-attack)" "healthPack.cob:healthPack.qvr" \
    "battery.cob:powerCell.qvr" "arrowCase:arrowPickup.qvr" \
    "crossbow:crossbow.qvr + arrow, held and drawn" "crossbow_side:crossbow, side view" "arrow:arrow.qvr, as loaded" \
    "mace:mace.qvr, held" "mace_strike:mace, in the strike" "mace_side:mace, side view"; do
    file=${pair%%:*}
    set -- "$@" -label "${pair#*:}" "$work/$file.png"
done
montage "$@" -tile 5x -geometry 256x256+5+5 -background '#111118' -fill '#e8dcc0' \
    -pointsize 13 -depth 8 "$work/sheet.png"
convert "$work/sheet.png" -colors 256 "PNG8:$out"
