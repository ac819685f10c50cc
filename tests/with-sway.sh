#!/usr/bin/env bash
# Runs a command as a client of a Wayland compositor of its own: a headless sway with a
# keyboard on its seat, every window floating at the size it asks for, as on a desktop.
# Exits with the command's status; sway, the keyboard and the folder go afterwards,
# whatever happened. Each run is separate, so several may run at once.
#
# sway refuses to run as root, so as root both it and the command run as an
# unprivileged user of their own, made when missing.
set -uo pipefail

(($#)) || {
    echo "usage: $0 COMMAND [ARGUMENTS...]" >&2
    exit 2
}

# Exit status 77 tells ctest that the test was skipped.
for tool in sway swaymsg wtype setpriv; do
    command -v "$tool" >/dev/null || {
        echo "skipped: $tool is not installed (tools/dev.sh check installs it)"
        exit 77
    }
done

as_user=()
if (($(id -u) == 0)); then
    user=zaryaj-wayland
    # Two runs may make the user at once; one of them wins.
    id -u "$user" >/dev/null 2>&1 ||
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
            "$user" 2>/dev/null || id -u "$user" >/dev/null || exit 1
    as_user=(--reuid="$user" --regid="$user" --init-groups)
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/zaryaj-sway.XXXXXX")
helpers=()
end() {
    local pid
    for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${helpers[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$runtime"
}
trap end EXIT
trap 'exit 130' INT TERM HUP
mkdir "$runtime/home"
((${#as_user[@]})) && chown -R "$user:" "$runtime"
chmod 700 "$runtime"

# Floating windows keep the sizes they ask for (a tiling layout would stretch them). A
# window the program asks to bring forward gets the focus, not just a mark. (As any
# desktop, sway focuses a window when it is mapped, which a window shown again is on
# Wayland: that the main window asks for the focus back is checked on X instead.)
cat >"$runtime/config" <<'EOF'
xwayland disable
output HEADLESS-1 resolution 1280x1024
for_window [app_id=".*"] floating enable
focus_on_window_activation focus
EOF

# Each helper dies with this script (setpriv's parent-death signal), even if the script
# itself is killed. Nothing of a display or a session bus the caller may have reaches
# them.
run=(setpriv --pdeathsig KILL "${as_user[@]}" env -u DISPLAY -u WAYLAND_DISPLAY
    -u DBUS_SESSION_BUS_ADDRESS HOME="$runtime/home" XDG_RUNTIME_DIR="$runtime")
"${run[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway --config "$runtime/config" >"$runtime/sway.log" 2>&1 &
helpers+=($!)
# Its display's socket, and the one swaymsg talks to it by.
socket= ipc=
for _ in $(seq 100); do
    socket=$(find "$runtime" -maxdepth 1 -name 'wayland-*' -type s -printf '%f' -quit)
    ipc=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*' -type s -print -quit)
    [[ -n $socket && -n $ipc ]] && break
    sleep 0.1
done
if [[ -z $socket || -z $ipc ]]; then
    echo "${0##*/}: sway did not start:" >&2
    cat "$runtime/sway.log" >&2
    exit 1
fi

# A keyboard stays on the seat for the whole run (wtype waits 66 minutes before typing
# nothing): without one no window is given the keyboard's focus, and the first key of
# each later virtual keyboard would be lost. The command starts once sway has it.
run+=(WAYLAND_DISPLAY="$socket" SWAYSOCK="$ipc")
"${run[@]}" wtype -s 4000000 >/dev/null 2>&1 &
helpers+=($!)
for _ in $(seq 100); do
    "${run[@]}" swaymsg -r -t get_inputs 2>/dev/null | grep -q '"type": "keyboard"' && break
    sleep 0.1
done

# Qt 6.4.2's Wayland plugin handles a window's frame callback on a thread of its own,
# unlocked against the main thread hiding or deleting that window: libwayland then
# aborts in wl_proxy_unref (the callback freed twice), or the frame thread touches the
# deleted window (fixed in later Qt). Those crashes alone, which a user of any Qt 6.4
# program on Wayland may meet, give the command another run, up to three in all (the
# long soak hides windows thousands of times and has met them twice running); any other
# failure, or such a crash three times, stands.
qt_race=(-e 'wl_proxy_unref: Assertion `proxy->refcount > 0'"'"' failed'
    -e 'in QtWaylandClient::QWaylandWindow::handleFrameCallback()')
for attempt in 1 2 3; do
    "${run[@]}" QT_QPA_PLATFORM=wayland "$@" 2>&1 | tee "$runtime/output"
    status=${PIPESTATUS[0]}
    ((status != 0 && attempt < 3)) && grep -qF "${qt_race[@]}" "$runtime/output" || break
    echo "${0##*/}: Qt's own race on a frame callback (see above); once more"
done
exit "$status"
