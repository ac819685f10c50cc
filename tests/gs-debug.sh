#!/usr/bin/env bash
# The program under the real GNOME Shell, headless on Wayland, with the files installed
# into a temporary prefix. A result is chosen in the overview by Enter, as a user does,
# while the program is open behind another window and once while it is minimized: it
# must come forward with the answer, as a Wayland client and through Xwayland. "Search
# in the application" must show the subscribers the shell listed, with no window of its
# own. What the program shows is read through the accessibility bus.
#
#   gnome-shell.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-harness.sh"

if [[ ${1:-} != --in-session ]]; then
    command -v gnome-shell >/dev/null || {
        echo "skipped: GNOME Shell is not installed"
        exit 77
    }
    # Xwayland's sockets: mutter refuses a folder without the usual mode, and then ends.
    [[ -d /tmp/.X11-unix ]] || mkdir -m 1777 /tmp/.X11-unix
    [[ $(stat -c %a /tmp/.X11-unix) == 1777 || ! -O /tmp/.X11-unix ]] || chmod 1777 /tmp/.X11-unix
    # Without a system bus the shell dies at start; an empty one of its own will do.
    in_desktop_session "$1" "$here/gs-debug.sh" system
fi

root=$2
shell() { # JAVASCRIPT: its value, as the shell's Eval gives it
    gdbus call --session --timeout 5 --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.gnome.Shell.Eval "$1" | sed -e "s/^(true, '\"\{0,1\}//" -e "s/\"\{0,1\}')$//"
}
until_true() { # JAVASCRIPT: waits for it to be true
    [[ $(shell "$1") == true ]]
}

# The shell, ready to answer within 30 s; once in a while it hangs while starting
# (launching Xwayland), and a second one is started.
start_shell() {
    gnome-shell --headless --wayland --unsafe-mode --virtual-monitor 1280x800 >"$root/shell.log" 2>&1 &
    shell_pid=$!
    local ready=$((SECONDS + 30))
    while ((SECONDS < ready)); do
        [[ $(shell 1 2>/dev/null) == 1 ]] && return 0
        sleep 0.1
    done
    pkill -P "$shell_pid"
    kill "$shell_pid"
    wait "$shell_pid" || true
    return 1
}
dbus-monitor --session "member='ActivateResult'" "member='ActivateAction'" > /tmp/gs-activate-$$.txt 2>&1 &
programs=()
trap 'kill "${programs[@]}" "$shell_pid" 2>/dev/null; wait "$shell_pid" || true' EXIT
start_shell || start_shell || {
    tail "$root/shell.log" >&2
    exit 1
}
shell "Main.overview.hide()" >/dev/null
wayland=(WAYLAND_DISPLAY="$(shell "GLib.getenv('WAYLAND_DISPLAY')")")
x11=(DISPLAY="$(shell "GLib.getenv('DISPLAY')")" XAUTHORITY="$(shell "GLib.getenv('XAUTHORITY')")")

window='global.get_window_actors().map(a => a.meta_window).find(w => w.get_pid() == '
focused='global.display.focus_window && global.display.focus_window.get_pid() == '
results='Main.overview._overview._controls._searchController._searchResults'
ours="$results._providers.find(p => p.id == 'ru.zaryaj.Directory.desktop')"
# Enter on a keyboard of the shell's own, so that the choice carries the key's time.
enter='const C = imports.gi.Clutter, t = imports.gi.GLib.get_monotonic_time();
global.zaryajKeys ||= C.get_default_backend().get_default_seat().create_virtual_device(
    C.InputDeviceType.KEYBOARD_DEVICE);
global.zaryajKeys.notify_keyval(t, C.KEY_Return, C.KeyState.PRESSED);
global.zaryajKeys.notify_keyval(t + 50000, C.KEY_Return, C.KeyState.RELEASED);'

# Starts the program on PLATFORM in the background, on the bus or, with "alone", as
# a plain window of its own; sets `started` to its process id.
start() {
    local env=(QT_QPA_PLATFORM="$1" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
    if [[ $1 == xcb ]]; then env+=("${x11[@]}"); else env+=("${wayland[@]}"); fi
    [[ ${2:-} == alone ]] && env+=(DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null)
    env "${env[@]}" zaryaj &
    started=$!
    programs+=("$started")
    until_ok until_true "!!($window$started))" || fail "$1: no window of process $started"
}

# Chooses TERMS' first result (or, with "launch", the provider's own icon) by Enter, the
# program being BEHIND (behind another window, or minimized); prints the time it takes
# to come forward in ms.
choose() {
    local terms=$1 how=$2 launch=${3:-}
    shell "Main.overview.hide(); $window$other).activate(global.display.get_current_time_roundtrip())" >/dev/null
    [[ $how == minimized ]] && shell "$window$program).minimize()" >/dev/null
    until_ok until_true "$focused$other" || fail "$platform: the other window did not take the focus"
    # Closing, the overview empties its search entry.
    until_ok until_true "!Main.overview.visible && !Main.overview.animationInProgress" ||
        fail "the overview did not close"
    shell "Main.overview.show(); Main.overview.searchEntry.set_text('$terms');
           Main.overview.searchEntry.grab_key_focus()" >/dev/null
    local found="$ours.display._terms.join(' ') == '$terms' && $results._defaultResult &&
                 $results._defaultResult.provider == $ours"
    # Drawing in software on a busy machine, the shell now and then leaves a search
    # unanswered for longer than a step may take: the terms are typed once more.
    until_ok until_true "$found" || {
        shell "Main.overview.searchEntry.set_text(''); Main.overview.searchEntry.set_text('$terms')" >/dev/null
        until_ok until_true "$found"
    } || fail "$platform: '$terms' found nothing"
    # The result Enter chooses, as the shell shows it: "Гаврилов П.В." and "2-25-15, …".
    chosen=$(shell "$results._defaultResult.metaInfo.name + '|' + $results._defaultResult.metaInfo.description")
    [[ -z $launch ]] || shell "$ours.display.providerInfo.grab_key_focus()" >/dev/null
    local started
    started=$(date +%s%N)
    shell "$enter" >/dev/null
    until_ok until_true "$focused$program && !$window$program).minimized" ||
        fail "$platform: '$terms' ${launch:+(launched) }did not bring the program from $how forward"
    took+=($((($(date +%s%N) - started) / 1000000)))
    echo "step $terms $how $platform chosen=$chosen at $(date +%s.%N)" >> /tmp/gs-steps-$$.txt
}

took=()
for platform in wayland xcb; do
    start "$platform"
    program=$started
    start "$platform" alone
    other=$started
    for how in behind minimized; do
        for terms in гаврилов 2-25-15; do
            choose "$terms" "$how"
            number=${chosen#*|}
            shows_number "$program" "${number%%,*}" "${chosen%%|*}" "$platform, $terms from $how"
        done
    done

    choose "набережная 37" behind launch
    state=$(shows "$program") || true
    metas=$(gdbus call --session --dest ru.zaryaj.Directory.SearchProvider \
        --object-path /ru/zaryaj/Directory/SearchProvider \
        --method org.gnome.Shell.SearchProvider2.GetResultMetas \
        "$(gdbus call --session --dest ru.zaryaj.Directory.SearchProvider \
            --object-path /ru/zaryaj/Directory/SearchProvider \
            --method org.gnome.Shell.SearchProvider2.GetInitialResultSet "['набережная', '37']" |
            sed 's/^(\(.*\),)$/\1/')" | grep -o "'name': <'[^']*'>" | sed "s/'name': <'\(.*\)'>/\1/")
    rows=$(sed -n 's/^row [^|]*|\([^|]*\)|.*/\1/p' <<<"$state")
    [[ -n $rows && $rows == "$metas" ]] || fail "$platform: launched search shows '$rows', the shell listed '$metas'"
    grep -qxF "box Фамилия набережная 37" <<<"$state" || fail "$platform: the terms are not shown: $state"
    grep -qxF "status Поиск завершен" <<<"$state" || fail "$platform: no status: $state"
    [[ $(shell "global.get_window_actors().filter(a => a.meta_window.get_pid() == $program).length") == 1 ]] ||
        fail "$platform: the launched search opened a window of its own"

    kill "$program" "$other"
    wait "$program" "$other" 2>/dev/null || true
    programs=()
done

echo "GNOME Shell $(gnome-shell --version | cut -d' ' -f3): a result chosen to the program in front" \
    "(Wayland, Xwayland; from behind and minimized): $(median "${took[@]}")"
finish "GNOME Shell"
