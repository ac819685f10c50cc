#!/usr/bin/env bash
# Asks the installed search provider through KRunner's own library:
#   run.sh BUILD_DIR INSTALL_PREFIX QUERY...
# Builds the client (against KDE Frameworks 6 with Qt 6, or 5 with Qt 5) into
# BUILD_DIR/krunnerclient (again only when changed), then prints the matches of each
# query; fails as the client does on the first query that finds nothing (1) or cannot be
# asked (2). Run it inside the caller's session bus, one that starts the provider from
# INSTALL_PREFIX/share/dbus-1/services.
set -euo pipefail
[[ $# -ge 3 ]] || {
    echo "usage: $0 BUILD_DIR INSTALL_PREFIX QUERY..." >&2
    exit 2
}
build=$1/krunnerclient
prefix=$(realpath "$2")
shift 2

here=$(dirname "$(realpath "$0")")
# Configured once (a configuring that failed, for want of a package, again); later builds
# re-run cmake themselves when CMakeLists.txt changes.
[[ -f $build/Makefile ]] || cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" >/dev/null

# KRunner finds the runner's metadata only through the data directories; a home of its
# own keeps the user's runners and KRunner settings out, and ours out of theirs.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_DATA_DIRS=$prefix/share:/usr/share XDG_DATA_HOME=$home/share
export XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$home} # else Qt warns on every start
# Should the client crash, KCrash would hand it to Plasma's crash dialog, which wants a
# display and OpenGL and crashes in turn: a plain crash says more.
export KDE_DEBUG=1
for query in "$@"; do
    echo "== $query"
    "$build/krunner-client" "$query"
done
