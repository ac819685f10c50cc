#!/usr/bin/env bash
# Runs a command where a screen reader could listen: on an X server of its own (Xvfb),
# with a D-Bus session and the accessibility bus, so that Qt's AT-SPI bridge is live
# and accessibility events really go out.
set -uo pipefail
dir=$(mktemp -d)
# Without -noreset the server resets whenever its last client goes: the accessibility
# bus's launcher connects to put its address on the root window and leaves at once,
# often just as the command connects, whose connection the reset then refuses ("could
# not connect to display"), the more often the busier the machine, so tests side by
# side failed where each alone passed.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dir/display" 2>/dev/null &
xvfb=$!
# Waiting for the server to go keeps its socket from being removed under the next one.
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 100); do
    [[ -s $dir/display ]] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$dir/display")" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The accessibility services talk on stderr when they start and when their bus or
# display goes away; only the command's own words are passed on.
# The launcher starts the accessibility bus, which starts the registry: ended the
# deepest first, each is reaped by its own parent, and none is left behind orphaned.
dbus-run-session -- bash -c '
    end_tree() {
        local child
        for child in $(pgrep -P "$1"); do end_tree "$child"; done
        kill "$1" 2>/dev/null
        for _ in $(seq 100); do
            ps -p "$1" >/dev/null || return 0
            sleep 0.01
        done
    }
    /usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null &
    launcher=$!
    trap "end_tree $launcher" EXIT
    "$@"' bash "$@" \
    2> >(grep -v -e '^dbus-daemon' -e 'SpiRegistry daemon' -e 'X connection to' >&2)
