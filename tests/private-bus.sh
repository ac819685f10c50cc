#!/usr/bin/env bash
# Runs a command on a private session bus that starts services only from the files
# installed under PREFIX, then ends whatever of ours that bus started, so that no
# program outlives the run (they would hold its output open, too).
#
#   private-bus.sh PREFIX COMMAND [ARGS...]
set -euo pipefail

# The process that owns a name on the bus, if any.
owner_pid() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetConnectionUnixProcessID "$1" 2>/dev/null |
        sed -n 's/^(uint32 \([0-9]*\),)$/\1/p'
}

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

prefix=$(realpath "$1")
shift
config=$(mktemp)
trap 'rm -f "$config"' EXIT
cat >"$config" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$prefix/share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
# Without the bus's notes on raising its file limit and on each service it starts.
dbus-run-session --config-file="$config" -- bash "$0" --on-the-bus "$@" \
    2> >(grep -v -e 'Failed to set fd limit' -e 'ctivat' >&2)
