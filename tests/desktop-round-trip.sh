#!/usr/bin/env bash
# The desktop's search end to end, on a private session bus that knows only the files
# installed into a temporary prefix: GNOME Shell's methods called with gdbus, KRunner's
# through the real KRunner library, and a result activated, which starts the program
# (offscreen) by its D-Bus service file.
#
#   desktop-round-trip.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# gdbus writes the Cyrillic names in the locale's characters: UTF-8, whatever the caller's.
export LC_ALL=C.UTF-8

if [[ ${1:-} != --on-the-bus ]]; then
    QT_QPA_PLATFORM=offscreen exec bash "$here/private-bus.sh" "$1" bash "$0" --on-the-bus "$1"
fi

build=$2
prefix=$ZARYAJ_PREFIX
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect() { # WHAT ACTUAL EXPECTED...: each expected text is part of the actual one
    local what=$1 actual=$2 part
    shift 2
    for part in "$@"; do
        [[ $actual == *"$part"* ]] || fail "$what: '$actual' lacks '$part'"
    done
}
call() { # OBJECT METHOD ARGS...
    gdbus call --session --dest "${1%%:*}" --object-path "${1#*:}" --method "$2" "${@:3}"
}

gnome=ru.zaryaj.Directory.SearchProvider:/ru/zaryaj/Directory/SearchProvider
provider=org.gnome.Shell.SearchProvider2
echo "GNOME Shell's search provider:"
expect GetInitialResultSet "$(call $gnome $provider.GetInitialResultSet "['Гаврилов', '2-25-15']")" \
    "(['385', '387'],)"
expect GetSubsearchResultSet \
    "$(call $gnome $provider.GetSubsearchResultSet "['387', '385', 'x']" "['гаврилова']")" "(['387'],)"
expect GetResultMetas "$(call $gnome $provider.GetResultMetas "['385', '-1', '629']")" \
    "'name': <'Гаврилов П.В.'>" "'description': <'2-25-15, Набережная 37'>" \
    "'gicon': <'ru.zaryaj.Directory'>" "'description': <'2-27-47, Строителей 2, кв. 120'>"
# A call of the wrong signature gets an error reply, and the service answers on.
dbus-send --session --print-reply --dest=ru.zaryaj.Directory.SearchProvider \
    /ru/zaryaj/Directory/SearchProvider $provider.GetInitialResultSet int32:42 2>/dev/null &&
    fail "a malformed call was answered"
expect "unknown result" "$(call $gnome $provider.ActivateResult "'9999'" "['x']" 0 2>&1 || true)" \
    InvalidArgs

echo "KRunner, through its own library:"
matches=$(bash "$here/krunnerclient/run.sh" "$build" "$prefix" гаврилов) || fail "KRunner found nothing"
expect "KRunner's match" "$matches" "$(printf 'Гаврилов П.В., 2-25-15\tНабережная 37\t0.75')"

echo "Activating a result starts the program:"
call $gnome $provider.ActivateResult "'385'" "['гаврилов']" 0 >/dev/null
for _ in $(seq 100); do
    pid=$(owner_pid ru.zaryaj.Directory) && [[ -n $pid ]] && break
    sleep 0.1
done
[[ -n ${pid:-} ]] || fail "the program did not take its name on the bus"
# Started again, it hands over to the running one, with its launcher's token, and ends.
dbus-monitor --session "member='Activate'" >"$prefix/activate-calls" 2>/dev/null &
monitor=$!
# A monitor is one once the bus has taken its name away.
for _ in $(seq 100); do grep -q NameLost "$prefix/activate-calls" && break || sleep 0.05; done
XDG_ACTIVATION_TOKEN=token-7 DESKTOP_STARTUP_ID=id-7_TIME42 timeout 10 "$prefix/bin/zaryaj" ||
    fail "a second start did not end at once (exit $?)"
[[ $(owner_pid ru.zaryaj.Directory) == "${pid:-}" ]] || fail "the running program lost its name"
kill $monitor
expect "a second start's Activate" "$(tr -s ' \n' ' ' <"$prefix/activate-calls")" \
    '"activation-token" variant string "token-7"' '"desktop-startup-id" variant string "id-7_TIME42"' 

echo "Without a session bus, none is launched:"
# libdbus would run dbus-launch, from PATH where it is not installed, for the display.
alone=$(mktemp -d)
printf '#!/bin/sh\ntouch "%s/launched"\nexit 1\n' "$alone" >"$alone/dbus-launch"
chmod +x "$alone/dbus-launch"
env -u DBUS_SESSION_BUS_ADDRESS DISPLAY=:99 XDG_RUNTIME_DIR="$alone" PATH="$alone:$PATH" \
    timeout 2 "$prefix/bin/zaryaj" || [[ $? == 124 ]] || fail "the program alone did not run"
[[ ! -e $alone/launched ]] || fail "the program launched a session bus"
rm -rf "$alone"

if ((failures)); then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "desktop round trip: all checks passed"
