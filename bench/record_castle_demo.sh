#!/bin/sh
# Records a game through the generated castle by driving the real game with
# X input (xdotool) under a virtual X server: the intro, Start, the ready
# screen, then about a minute of walking, looking, swinging and shooting.
#   bench/record_castle_demo.sh OUT.demo [GAME_DIR] [PLAY_SECONDS]
# GAME_DIR holds the spookhollow executable and resources/ (default
# build/game). The game runs in a scratch folder with an empty save/, so the
# player's own files and high scores play no part.
set -eu
out=$(realpath -m "$1")
game_dir=$(realpath "${2:-build/game}")
play_seconds=${3:-60}

if [ -z "${DISPLAY:-}" ] || [ -z "${RECORD_DEMO_UNDER_XVFB:-}" ]; then
    RECORD_DEMO_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out" "$game_dir" "$play_seconds"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/save" "$scratch/runtime"
ln -s "$game_dir/resources" "$scratch/resources"
cd "$scratch"
XDG_RUNTIME_DIR="$scratch/runtime" SPOOKHOLLOW_MESSAGE_BOX=stderr ALSOFT_DRIVERS=null \
    "$game_dir/spookhollow" --record "$out" &
game=$!

xdotool search --sync --name '^Spookhollow$' >/dev/null
# A 1024x768 window lands at (128, 128) on the 1280x1024 screen; the keyboard
# follows the pointer, which stays over the window.
xdotool mousemove 640 600
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
# Space counts on the intro only after five seconds.
sleep 5.5
hold space 0.2
sleep 1
# Start, in the main menu's design space (317, 342).
xdotool mousemove 557 470 click 1
sleep 6
# The ready screen: a click starts the game.
xdotool click 1
sleep 1

start=$(date +%s)
walk_until=$(( start + play_seconds / 2 ))
end=$(( start + play_seconds ))
round=0
while [ "$(date +%s)" -lt "$walk_until" ] && kill -0 "$game" 2>/dev/null; do
    round=$((round + 1))
    hold w 1.2
    xdotool mousemove_relative -- 180 0
    sleep 0.2
    hold w 0.8
    xdotool click 1
    sleep 0.4
    hold a 0.4
    xdotool mousemove_relative -- -90 10
    sleep 0.2
    xdotool mousemove_relative -- 0 -10
    hold w 0.9
    if [ $((round % 3)) -eq 0 ]; then
        # The crossbow: a few shots, then the mace again.
        xdotool click 4
        sleep 0.6
        xdotool click 1
        sleep 0.3
        xdotool click 1
        sleep 0.3
        xdotool click 4
        sleep 0.5
    fi
    hold d 0.3
    xdotool mousemove_relative -- -250 0
    sleep 0.2
done

# Then the player holds its ground, turning and swinging, while the ghosts
# come to it.
while [ "$(date +%s)" -lt "$end" ] && kill -0 "$game" 2>/dev/null; do
    xdotool mousemove_relative -- 40 0
    sleep 0.2
    xdotool click 1
    sleep 0.6
done

# SDL turns SIGTERM into a quit request: the loop ends and the file is written.
kill -TERM "$game" 2>/dev/null || true
wait "$game" || true
test -s "$out"
echo "recorded $out"
