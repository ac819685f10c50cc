#!/usr/bin/env bash
# Installs a build into a temporary prefix and runs a command on a private session bus
# that starts services only from the files installed there, then ends whatever of ours
# that bus started, so that no program outlives the run (they would hold its output
# open, too). The command finds the prefix in ZARYAJ_PREFIX and may call owner_pid NAME,
# the process that owns a name on the bus.
#
#   private-bus.sh BUILD_DIR COMMAND [ARGS...]
set -euo pipefail

owner_pid() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetConnectionUnixProcessID "$1" 2>/dev/null |
        sed -n 's/^(uint32 \([0-9]*\),)$/\1/p'
}
export -f owner_pid

if [[ $1 == --on-the-bus ]]; then
    shift
    status=0
    "$@" || status=$?
    for name in ru.zaryaj.Directory ru.zaryaj.Directory.SearchProvider; do
        pid=$(owner_pid "$name")
        [[ -z $pid ]] || kill "$pid"
    done
    exit "$status"
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export ZARYAJ_PREFIX=$root/usr
cmake --install "$1" --prefix "$ZARYAJ_PREFIX" >/dev/null
shift
cat >"$root/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$root</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$ZARYAJ_PREFIX/share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
# Without the bus's notes on raising its file limit and on each service it starts.
dbus-run-session --config-file="$root/bus.conf" -- bash "$0" --on-the-bus "$@" \
    2> >(grep -v -e 'Failed to set fd limit' -e 'ctivat' >&2)
