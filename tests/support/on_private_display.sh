#!/bin/sh
# Runs a test command on an X server of its own (Xvfb, 1280 x 1024 x 24, or
# the size SPOOKHOLLOW_TEST_SCREEN names, e.g. 1920x1080), so window tests can
# run side by side: no test's windows, pointer or keyboard focus get in
# another's way, and none depends on a display being there. The server has
# one mode, its own size, and refuses to switch to any other.
# Xvfb picks a free display number itself and reports it once it takes
# connections (-displayfd), so parallel starts never race for a number.
#
#   on_private_display.sh PROGRAM [ARGUMENTS...]
#
# Listing a test binary's cases needs no display. Message boxes go to
# standard error.
set -u

for argument in "$@"; do
    if [ "$argument" = "--gtest_list_tests" ]; then
        exec "$@"
    fi
done

screen=${SPOOKHOLLOW_TEST_SCREEN:-1280x1024}
case $screen in
    [1-9]*x[1-9]*) ;;
    *)
        echo "on_private_display: SPOOKHOLLOW_TEST_SCREEN=$screen is no size like 1920x1080" >&2
        exit 2
        ;;
esac

work=$(mktemp -d "${TMPDIR:-/tmp}/private-display.XXXXXX") || exit 1
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
server=$!

stop_server() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap 'stop_server; exit 143' TERM
trap 'stop_server; exit 130' INT

# Generous: a loaded machine can take seconds to start a server.
tries=0
while ! grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; do
    if ! kill -0 "$server" 2>/dev/null || [ "$tries" -ge 600 ]; then
        echo "on_private_display: Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        stop_server
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.05
done

# The server goes with this script even when the script is killed outright
# (a test runner's time-out): a watcher ends it once the script is gone.
script=$$
(
    while kill -0 "$script" 2>/dev/null; do
        sleep 1
    done
    kill "$server" 2>/dev/null
) >/dev/null 2>&1 &
watcher=$!

DISPLAY=":$(cat "$work/display")"
export DISPLAY
unset XAUTHORITY
# A message box would wait for a click that never comes.
SPOOKHOLLOW_MESSAGE_BOX=stderr
export SPOOKHOLLOW_MESSAGE_BOX
"$@"
status=$?
kill "$watcher" 2>/dev/null
stop_server
exit $status
