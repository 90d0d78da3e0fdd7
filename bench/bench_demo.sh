#!/bin/sh
# The timedemo benchmark: replays the shipped game through the castle as fast
# as frames can be drawn, RUNS times (default 3), and prints for each run the
# frame count, the median and 99th-percentile real frame time, the average
# fps, and the start-up milestones the replay passes: the first intro frame
# after the program started, Start to the ready screen (the level build
# included) and the first play frame after the click. The time to load and
# start the executable before its own code runs is measured apart, from
# "spookhollow --version".
#   bench/bench_demo.sh [GAME_DIR] [DEMO] [RUNS] [SIZE] [MAP]
# GAME_DIR holds the spookhollow executable and resources/ (default
# build/game); DEMO defaults to tests/data/castle.demo; SIZE (for example
# 1920x1080; empty for the default) is the window the replay draws in, by
# default the one it was recorded in. MAP, when given, is a map image the
# replay plays on in place of resources/maps/castle.map, for example the
# castle tiled 8 x 8 by the benchmarks' tile_map:
#   build-bench/bench/tile_map build-bench/game/resources/maps/castle.map 8 castle256.map
#   bench/bench_demo.sh build-bench/game "" 4 "" castle256.map
# (an empty DEMO is the default one). Runs under a virtual X server of
# 2560x1440, large enough for any SIZE measured here, when none is given (or
# BENCH_DEMO_UNDER_XVFB is unset).
set -eu
here=$(dirname "$0")
game_dir=$(realpath "${1:-build/game}")
demo=$(realpath "${2:-$here/../tests/data/castle.demo}")
runs=${3:-3}
size=${4:-}
map=${5:-}
if [ -n "$map" ]; then
    if [ ! -f "$map" ]; then
        echo "bench_demo.sh: no map image $map" >&2
        exit 1
    fi
    map=$(realpath "$map")
fi

if [ -z "${DISPLAY:-}" ] || [ -z "${BENCH_DEMO_UNDER_XVFB:-}" ]; then
    BENCH_DEMO_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 2560x1440x24" "$0" "$game_dir" "$demo" "$runs" "$size" "$map"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/save" "$scratch/runtime"
if [ -z "$map" ]; then
    ln -s "$game_dir/resources" "$scratch/resources"
else
    # Everything else is the game's own; only the map is replaced.
    mkdir -p "$scratch/resources/maps"
    for entry in "$game_dir/resources"/* "$game_dir/resources/maps"/*; do
        case "$entry" in
            "$game_dir/resources/maps" | "$game_dir/resources/maps/castle.map") ;;
            "$game_dir/resources/maps"/*) ln -s "$entry" "$scratch/resources/maps/" ;;
            *) ln -s "$entry" "$scratch/resources/" ;;
        esac
    done
    cp "$map" "$scratch/resources/maps/castle.map"
    echo "map: $map in place of resources/maps/castle.map"
fi
cd "$scratch"
export XDG_RUNTIME_DIR="$scratch/runtime" SPOOKHOLLOW_MESSAGE_BOX=stderr ALSOFT_DRIVERS=null

best_exec=""
for i in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$game_dir/spookhollow" --version >/dev/null
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best_exec" ] || [ "$ms" -lt "$best_exec" ]; then best_exec=$ms; fi
done
echo "exec: spookhollow --version in $best_exec ms (best of 5): load time before start-up"

i=1
while [ "$i" -le "$runs" ]; do
    echo "run $i:"
    if [ -n "$size" ]; then
        "$game_dir/spookhollow" --timedemo "$demo" --size "$size" | sed 's/^/  /'
    else
        "$game_dir/spookhollow" --timedemo "$demo" | sed 's/^/  /'
    fi
    i=$((i + 1))
done
