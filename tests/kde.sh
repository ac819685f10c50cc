#!/usr/bin/env bash
# The program under the real KWin and KRunner, headless, with the files installed into a
# temporary prefix: KWin on Wayland with the program on Wayland, then through Xwayland,
# then KWin on X11 (Xvfb). KRunner is asked for "гаврилов" and "2-25-15": the directory's
# match must come first, ahead of KRunner's calculator, and its matches in the listing's
# order; Enter (xdotool; KRunner itself runs on X11 there, as KWin 5.27 offers Wayland
# programs no virtual keyboard without privileges) must bring the program, behind another
# window or minimized, forward at the answer. Where KWin does not let it take the focus,
# the program must at least be marked as wanting attention. KWin's own words about each
# request are printed. Windows are read and moved by short KWin scripts; what the
# program and KRunner show is read through the accessibility bus.
#
#   kde.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop-harness.sh"

if [[ ${1:-} != --in-session ]]; then
    for program in kwin_wayland kwin_x11 krunner Xvfb xdotool; do
        command -v $program >/dev/null || {
            echo "skipped: $program is not installed"
            exit 77
        }
    done
    [[ -d /tmp/.X11-unix ]] || mkdir -m 1777 /tmp/.X11-unix
    # Each set-up in a session of its own: KRunner, started again in one session, is not
    # always found again on its accessibility bus.
    status=0
    for setup in ${ZARYAJ_KDE_SETUPS:-wayland xwayland x11}; do
        (ZARYAJ_KDE_SETUPS=$setup in_desktop_session "$1" "$here/kde.sh") || status=1
    done
    exit $status
fi

root=$2
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# KRunner would be started again by its crash handler when its display goes, and the next
# KRunner, finding its name taken, would end.
export KDE_DEBUG=1
# Debian gives kwin_wayland a file capability that a container's bounding set may lack,
# and then it cannot be run; a plain copy runs.
cp "$(command -v kwin_wayland)" "$root/kwin_wayland"
# KWin's first program says where Xwayland is, and ends with it (KWin starts it detached).
printf '#!/bin/sh\necho "$DISPLAY" >"%s/display"\nwhile xprop -root >/dev/null 2>&1; do sleep 1; done\n' \
    "$root" >"$root/first"
chmod +x "$root/first"
# KWin's scripts print here; its words on activation are among its debug lines.
export QT_LOGGING_RULES="kwin_scripting.debug=true;kwin_core.debug=true"

pids=() session=()
trap 'kill "${pids[@]}" "${session[@]}" 2>/dev/null; wait 2>/dev/null || true' EXIT
# The accessibility bus for all three: started with a display, it would end with it.
env -u DISPLAY -u WAYLAND_DISPLAY /usr/libexec/at-spi-bus-launcher &
session+=($!)
owned() { # NAME: whether it has an owner on the session bus
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner "$1" | grep -q true
}
# A program started before the accessibility bus is up is never on it.
until_ok owned org.a11y.Bus || fail "no accessibility bus"

start_kwin() { # SETUP: KWin for it, with DISPLAY (and WAYLAND_DISPLAY) set
    rm -f "$root/display"
    if [[ $1 == x11 ]]; then
        exec {fd}<> <(:)
        # -noreset: a server that resets when its last client goes refuses or drops the
        # clients connecting meanwhile (xprop asking after KWin leaves as KWin arrives).
        Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        pids+=($!)
        read -r -t 15 number <&"$fd" || fail "Xvfb did not start"
        export DISPLAY=:$number
        unset WAYLAND_DISPLAY
        kwin_x11 >"$root/kwin.log" 2>&1 &
        pids+=($!)
        until_ok xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window || fail "kwin_x11 did not start"
    else
        "$root/kwin_wayland" --virtual --xwayland --width 1280 --height 1024 --no-lockscreen \
            --socket wayland-zaryaj -- "$root/first" >"$root/kwin.log" 2>&1 &
        pids+=($!)
        until_ok test -s "$root/display" || fail "kwin_wayland did not start"
        export DISPLAY=$(cat "$root/display") WAYLAND_DISPLAY=wayland-zaryaj
    fi
    # What the bus starts (KRunner's helpers) starts there too, and on the accessibility bus.
    QT_QPA_PLATFORM=xcb dbus-update-activation-environment DISPLAY QT_QPA_PLATFORM \
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY}
}

# KWin 6 names a window a window, where 5 named it a client: the scripts say windows()
# and active(), and set the active one with activate(), on either.
kwin_names='const windows = () => workspace.windowList ? workspace.windowList() : workspace.clientList();
const active = () => "activeWindow" in workspace ? workspace.activeWindow : workspace.activeClient;
const activate = w => { if ("activeWindow" in workspace) workspace.activeWindow = w; else workspace.activeClient = w; };'
kwin() { # JAVASCRIPT: runs it in KWin; what it prints with print() is in KWin's log
    local script=$root/script-$RANDOM.js id
    printf '%s\n%s\n' "$kwin_names" "$1" >"$script"
    id=$(gdbus call --session --dest org.kde.KWin --object-path /Scripting \
        --method org.kde.kwin.Scripting.loadScript "$script" "zaryaj$RANDOM" | tr -dc 0-9)
    # KWin 6 serves a loaded script at /Scripting/ScriptN, 5 at /N.
    gdbus call --session --dest org.kde.KWin --object-path "/Scripting/Script$id" \
        --method org.kde.kwin.Script.run >/dev/null 2>&1 ||
        gdbus call --session --dest org.kde.KWin --object-path "/$id" --method org.kde.kwin.Script.run >/dev/null
}
window='windows().find(c => c.pid == '
asked() { # JAVASCRIPT: its value, printed by KWin
    local mark=zaryaj$RANDOM
    kwin "print('$mark', $1);"
    until_ok grep -q "$mark" "$root/kwin.log"
    sed -n "s/.*$mark //p" "$root/kwin.log"
}
# Whether the program is in front: the active window, not minimized.
in_front() { # PID
    [[ $(asked "active() == $window$1) && !$window$1).minimized") == true ]]
}

on_bus() { [[ $(krunner_list) != __none__ ]]; } # KRunner found on the accessibility bus
lists() { krunner_list | grep -q "$1"; } # TEXT
krunner_list() { # KRunner's matches as it lists them, one a line
    /usr/bin/python3 - <<'PYTHON' 2>/dev/null || true
import os, pyatspi
found = []
def walk(node):
    if node.getRole() == pyatspi.ROLE_LIST_ITEM and node.name:
        found.append(node.name)
    else:
        for child in node:
            walk(child)
def alive(app): # the registry may still list one that has ended
    try:
        return app.name == "krunner" and os.kill(app.get_process_id(), 0) is None
    except Exception:
        return False
ours = [a for a in pyatspi.Registry.getDesktop(0) if a and alive(a)]
walk(ours[-1]) if ours else found.append("__none__")
print("\n".join(found))
PYTHON
}

# Starts the program on PLATFORM in the background, on the bus or, with "alone", as a
# plain window of its own; sets `started` to its process id.
start() {
    local env=(QT_QPA_PLATFORM="$1")
    [[ ${2:-} == alone ]] && env+=(DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null)
    env "${env[@]}" zaryaj &
    started=$!
    pids+=("$started")
    has_window() { [[ $(asked "!!$window$started)") == true ]]; }
    until_ok has_window || until_ok has_window || fail "$setup: no window of process $started ($*)"
}

# Asks KRunner for TERMS with the program BEHIND another window or minimized, checks
# KRunner's first match, presses Enter, and checks what the program shows and where.
choose() { # TERMS HOW FIRST
    kwin "activate($window$other)); $( [[ $2 == minimized ]] && echo "$window$program).minimized = true;")"
    # KRunner hides when it loses the focus: asked before the other window has it, it
    # would hide the answer to the query (KRunner 6 does).
    until_ok in_front "$other" || fail "$setup: the other window did not take the focus"
    local asked_before
    asked_before=$(grep -c "member=Match" "$root/runner-calls" || true)
    gdbus call --session --dest org.kde.krunner --object-path /App \
        --method org.kde.krunner.App.query "$1" >/dev/null
    matched() { (($(grep -c "member=Match" "$root/runner-calls") > asked_before)); }
    until_ok matched || fail "$setup: KRunner did not ask the runner for '$1'"
    # KRunner's list is read on the Wayland set-up only, where it is found on the
    # accessibility bus: KRunner runs on X11 in all three,
    # and its ranking is the same, but started on another X display it is not always found
    # on the accessibility bus.
    if [[ $setup == wayland ]] && on_bus; then
        until_ok lists "$(cut -d, -f1 <<<"$3")" || fail "$setup: KRunner did not list '$1'"
        local first
        first=$(krunner_list | head -1)
        [[ $first == "$3" ]] || fail "$setup: KRunner's first match for '$1' is '$first', not '$3'"
    else
        sleep 0.5 # for the matches to be shown
    fi
    local marks_before
    marks_before=$(wc -l <"$root/kwin.log")
    local started
    started=$(date +%s%N)
    xdotool key Return
    settled() { in_front "$program" || [[ $(asked "$window$program).demandsAttention") == true ]]; }
    until_ok settled || true
    if in_front "$program"; then
        took+=($((($(date +%s%N) - started) / 1000000)))
    elif [[ $setup == wayland && $(asked "$window$program).demandsAttention") == true ]]; then
        echo "$setup, '$1' from $2: KWin $kwin_version keeps the program where it is, marked as wanting attention"
    else
        fail "$setup: '$1' did not bring the program from $2 forward"
    fi
    echo "$setup, '$1' from $2, KWin said:"
    tail -n +"$marks_before" "$root/kwin.log" | grep -i -e "activat" -e "token" -e "attention" \
        -e "focus" | grep -v "js: zaryaj" | sed 's/^/    /' | head -8 || true
    shows_number "$program" "$(cut -d' ' -f3 <<<"$3")" "$(cut -d, -f1 <<<"$3")" "$setup, $1 from $2"
}

# KRunner calls the runner's Config, as the D-Bus API of its desktop file asks.
dbus-monitor --session "interface='org.kde.krunner1'" >"$root/runner-calls" 2>/dev/null &
session+=($!)
# The copy: Debian's kwin_wayland may not run where its capability cannot be had.
kwin_version=$("$root/kwin_wayland" --version 2>/dev/null | awk '{print $NF}') || true
took=()
for setup in $ZARYAJ_KDE_SETUPS; do
    start_kwin $setup
    platform=xcb
    [[ $setup == wayland ]] && platform=wayland
    rm -f "$HOME/.local/share/krunnerstaterc"
    QT_QPA_PLATFORM=xcb krunner --daemon >"$root/krunner.log" 2>&1 &
    krunner=$!
    pids+=($krunner)
    # Asked before it owns its name, the bus would start another KRunner.
    until_ok owned org.kde.krunner || 
        fail "$setup: KRunner did not start"
    start $platform
    program=$started
    start $platform alone
    other=$started
    # The three at Набережная 37, in the listing's order (before any is run: KRunner
    # raises a match it has run).
    gdbus call --session --dest org.kde.krunner --object-path /App \
        --method org.kde.krunner.App.query "набережная 37" >/dev/null
    if [[ $setup == wayland ]] && ! until_ok on_bus; then
        echo "KRunner is not on the accessibility bus this time: its list is not read"
    elif [[ $setup == wayland ]]; then
        until_ok lists Булычёв || true
        order=$(krunner_list | sed 's/,.*//' | tr '\n' ' ')
        [[ $order == "Булычёв Ф.А. Гаврилов П.В. Гаврилова Т.А. " ]] ||
            fail "$setup: 'набережная 37' lists $order"
        echo "KRunner's order for 'набережная 37': $order"
    fi
    # Left shown, Plasma 6's KRunner hides as soon as the next query comes: closed first,
    # as a user closes it, Escape clearing its text and then closing it. (Plasma 5's
    # answers the next query in the window it shows.)
    krunner_shown() { [[ $(asked "windows().some(w => w.resourceClass == 'krunner' && !w.hidden)") == true ]]; }
    krunner_hidden() { ! krunner_shown; }
    if [[ $kwin_version != 5.* ]]; then
        for escape in 1 2; do
            krunner_shown && xdotool key Escape && until_ok krunner_hidden && break
        done
        krunner_hidden || fail "$setup: KRunner did not close on Escape"
    fi
    for how in behind minimized; do
        choose гаврилов $how "Гаврилов Г.П., 5-21-66"
        choose 2-25-15 $how "Гаврилов П.В., 2-25-15"
    done
    kill "$krunner" && wait "$krunner" 2>/dev/null || true
    # KWin's Xwayland outlives KWin for a moment, still holding its display's sockets:
    # the next set-up's X server, given the same number, would have its clients reach
    # the dying Xwayland. Each is waited for until it has ended.
    children=$(for pid in "${pids[@]}"; do pgrep -P "$pid"; done || true)
    kill "${pids[@]}" $children 2>/dev/null || true
    wait "${pids[@]}" 2>/dev/null || true
    gone() { [[ $(ps -o stat= -p "$1") != [^Z]* ]]; } # PID: ended (a zombie has too)
    for pid in $children; do until_ok gone "$pid" || fail "$setup: process $pid outlived KWin"; done
    pids=()
done
grep -q "member=Config" "$root/runner-calls" || fail "KRunner never called the runner's Config"

((${#took[@]} == 0)) ||
    echo "KWin $kwin_version, $ZARYAJ_KDE_SETUPS: a match run to the program in front: $(median "${took[@]}")"
finish KDE
