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

if [[ ${1:-} != --in-session ]]; then
    command -v gnome-shell >/dev/null || {
        echo "skipped: GNOME Shell is not installed"
        exit 77
    }
    # Xwayland's sockets: mutter refuses a folder without the usual mode, and then ends.
    [[ -d /tmp/.X11-unix ]] || mkdir -m 1777 /tmp/.X11-unix
    [[ $(stat -c %a /tmp/.X11-unix) == 1777 || ! -O /tmp/.X11-unix ]] || chmod 1777 /tmp/.X11-unix
    root=$(mktemp -d)
    trap '[[ -f $root/system.pid ]] && kill "$(cat "$root/system.pid")"; rm -rf "$root"' EXIT
    prefix=$root/usr
    cmake --install "$1" --prefix "$prefix" >/dev/null
    # Without a system bus the shell dies at start; an empty one of its own will do.
    sed -e 's|<type>session</type>|<type>system</type>|' \
        -e "s|<listen>.*</listen>|<listen>unix:path=$root/system-bus</listen>|" \
        /usr/share/dbus-1/session.conf >"$root/system.conf"
    dbus-daemon --config-file="$root/system.conf" --fork --print-pid >"$root/system.pid"
    mkdir -m 700 "$root/run" "$root/home"
    # The session bus finds the program and its search service where the shell finds
    # their menu entry and search provider.
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$root/system-bus XDG_RUNTIME_DIR=$root/run \
        HOME=$root/home XDG_DATA_DIRS=$prefix/share:/usr/share PATH=$prefix/bin:$PATH \
        dbus-run-session -- bash "$0" --in-session "$root" >"$root/out" 2>"$root/err" || status=$?
    # Without what the bus and the services it starts say of themselves.
    grep -v SpiRegistry "$root/out" || true
    grep -v -e '^dbus-daemon' -e 'fd limit' -e CalendarServer -e '^$' "$root/err" >&2 || true
    exit "${status:-0}"
fi

root=$2
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
shell() { # JAVASCRIPT: its value, as the shell's Eval gives it
    gdbus call --session --timeout 5 --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.gnome.Shell.Eval "$1" | sed -e "s/^(true, '\"\{0,1\}//" -e "s/\"\{0,1\}')$//"
}
until_true() { # JAVASCRIPT: waits up to 15 s for it to be true (a busy machine is slow)
    local until=$((SECONDS + 15))
    while ((SECONDS < until)); do
        [[ $(shell "$1" 2>/dev/null) == true ]] && return 0
        sleep 0.05
    done
    return 1
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

# What the program with this process id shows: its boxes on the tab shown, the grid's
# rows, the status line.
shows() {
    /usr/bin/python3 - "$1" <<'PYTHON'
import re, sys, pyatspi
app = next(a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == int(sys.argv[1]))
def walk(node):
    role = node.getRole()
    if role == pyatspi.ROLE_TABLE:
        table = node.queryTable()
        for row in range(table.nRows):
            cells = [table.getAccessibleAt(row, c).name for c in range(table.nColumns)]
            print("row", re.sub(r"^[0-9]+, ", "", "|".join(cells)))
    elif role == pyatspi.ROLE_STATUS_BAR:
        print("status", next((child.name for child in node if child.name), ""))
    elif role == pyatspi.ROLE_TEXT:
        if node.getState().contains(pyatspi.STATE_SHOWING):
            print("box", node.name, node.queryText().getText(0, -1))
    else:
        for child in node:
            walk(child)
for window in app:
    walk(window)
PYTHON
}

# Starts the program on PLATFORM in the background, on the bus or, with "alone", as
# a plain window of its own; sets `started` to its process id.
start() {
    local env=(QT_QPA_PLATFORM="$1" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
    if [[ $1 == xcb ]]; then env+=("${x11[@]}"); else env+=("${wayland[@]}"); fi
    [[ ${2:-} == alone ]] && env+=(DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null)
    env "${env[@]}" zaryaj &
    started=$!
    programs+=("$started")
    until_true "!!($window$started))" || fail "$1: no window of process $started"
}

# Chooses TERMS' first result (or, with "launch", the provider's own icon) by Enter, the
# program being BEHIND (behind another window, or minimized); prints the time it takes
# to come forward in ms.
choose() {
    local terms=$1 how=$2 launch=${3:-}
    shell "Main.overview.hide(); $window$other).activate(global.display.get_current_time_roundtrip())" >/dev/null
    [[ $how == minimized ]] && shell "$window$program).minimize()" >/dev/null
    until_true "$focused$other" || fail "$platform: the other window did not take the focus"
    # Closing, the overview empties its search entry.
    until_true "!Main.overview.visible && !Main.overview.animationInProgress" ||
        fail "the overview did not close"
    shell "Main.overview.show(); Main.overview.searchEntry.set_text('$terms');
           Main.overview.searchEntry.grab_key_focus()" >/dev/null
    until_true "$ours.display._terms.join(' ') == '$terms' && $results._defaultResult &&
                $results._defaultResult.provider == $ours" || fail "$platform: '$terms' found nothing"
    # The result Enter chooses, as the shell shows it: "Гаврилов П.В." and "2-25-15, …".
    chosen=$(shell "$results._defaultResult.metaInfo.name + '|' + $results._defaultResult.metaInfo.description")
    [[ -z $launch ]] || shell "$ours.display.providerInfo.grab_key_focus()" >/dev/null
    local started
    started=$(date +%s%N)
    shell "$enter" >/dev/null
    until_true "$focused$program && !$window$program).minimized" ||
        fail "$platform: '$terms' ${launch:+(launched) }did not bring the program from $how forward"
    took+=($((($(date +%s%N) - started) / 1000000)))
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
            state=$(shows "$program") || true
            number=${chosen#*|}
            number=${number%%,*}
            for part in "box Номер телефона: ${number//-/}" "status Поиск завершен"; do
                grep -qxF "$part" <<<"$state" || fail "$platform, $terms from $how: no '$part' in: $state"
            done
            grep -qF "row $number|${chosen%%|*}|" <<<"$state" ||
                fail "$platform, $terms from $how: '$chosen' not shown in: $state"
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

sorted=$(printf '%s\n' "${took[@]}" | sort -n)
echo "GNOME Shell $(gnome-shell --version | cut -d' ' -f3): a result chosen to the program in front" \
    "(Wayland, Xwayland; from behind and minimized): median $(sed -n "$(((${#took[@]} + 1) / 2))p" <<<"$sorted") ms" \
    "of ${#took[@]}, most $(tail -1 <<<"$sorted") ms"
if ((failures)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "GNOME Shell: all checks passed"
exit 0
