# What the checks under a real desktop share (tests/gnome-shell.sh, tests/kde.sh), sourced
# by them: the build installed into a temporary prefix, a session bus that starts the
# program and its search service from there, the failures counted, waiting, what the
# program shows read through the accessibility bus, and the median of the times taken.

# gdbus and the accessibility bus's readers write Cyrillic in the locale's characters:
# UTF-8, whatever the caller's.
export LC_ALL=C.UTF-8

# Outside the session: installs BUILD_DIR and runs the calling script again as
# `SCRIPT --in-session ROOT` in a session bus of its own, with its runtime folder, home,
# XDG_DATA_DIRS and PATH at the prefix, then says what it said without the bus's own
# chatter and exits as it did. With "system", the session gets an empty system bus too.
in_desktop_session() { # BUILD_DIR SCRIPT [system]
    root=$(mktemp -d)
    trap '[[ -f $root/system.pid ]] && kill "$(cat "$root/system.pid")"; rm -rf "$root"' EXIT
    prefix=$root/usr
    cmake --install "$1" --prefix "$prefix" >/dev/null
    local env=()
    if [[ ${3:-} == system ]]; then
        sed -e 's|<type>session</type>|<type>system</type>|' \
            -e "s|<listen>.*</listen>|<listen>unix:path=$root/system-bus</listen>|" \
            /usr/share/dbus-1/session.conf >"$root/system.conf"
        dbus-daemon --config-file="$root/system.conf" --fork --print-pid >"$root/system.pid"
        env+=(DBUS_SYSTEM_BUS_ADDRESS=unix:path=$root/system-bus)
    fi
    mkdir -m 700 "$root/run" "$root/home"
    local status=0
    env "${env[@]}" XDG_RUNTIME_DIR="$root/run" HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" \
        XDG_DATA_DIRS="$prefix/share:/usr/share" PATH="$prefix/bin:$PATH" \
        dbus-run-session -- bash "$2" --in-session "$root" >"$root/out" 2>"$root/err" || status=$?
    grep -v SpiRegistry "$root/out" || true
    grep -v -e '^dbus-daemon' -e 'fd limit' -e CalendarServer -e '^$' "$root/err" >&2 || true
    exit "$status"
}

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

until_ok() { # COMMAND...: waits up to 15 s for it to succeed (a busy machine is slow)
    local until=$((SECONDS + 15))
    while ((SECONDS < until)); do
        "$@" 2>/dev/null && return 0
        sleep 0.05
    done
    return 1
}

# What the program with this process id shows: its boxes on the tab shown, the grid's
# rows, the status line.
shows() { # PID
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

# Checks that the program shows the subscriber NAME at NUMBER ("2-25-15") as the answer of
# its phone search.
shows_number() { # PID NUMBER NAME WHERE
    local state
    state=$(shows "$1") || true
    for part in "box Номер телефона: ${2//-/}" "status Поиск завершен"; do
        grep -qxF "$part" <<<"$state" || fail "$4: no '$part' in: $state"
    done
    grep -qF "row $2|$3|" <<<"$state" || fail "$4: '$3, $2' not shown in: $state"
}

median() { # TIMES...: "median M ms of N, most X ms"
    local sorted
    sorted=$(printf '%s\n' "$@" | sort -n)
    echo "median $(sed -n "$((($# + 1) / 2))p" <<<"$sorted") ms of $#, most $(tail -1 <<<"$sorted") ms"
}

# The exit of the check: its failures counted, or all passed.
finish() { # NAME
    if ((failures)); then
        echo "$failures failure(s)" >&2
        exit 1
    fi
    echo "$1: all checks passed"
    exit 0
}
