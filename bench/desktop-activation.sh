#!/usr/bin/env bash
# How long the desktop waits for its first answer when the search service is not
# running: from the call until the answer, the bus starting the service included. On a
# private session bus with the files installed into a temporary prefix; prints the median.
#
#   desktop-activation.sh BUILD_DIR [RUNS]
set -euo pipefail
if [[ ${1:-} != --on-the-bus ]]; then
    exec bash "$(dirname "$0")/../tests/private-bus.sh" "$1" bash "$0" --on-the-bus "${2:-21}"
fi

runs=$2
call() {
    gdbus call --session --dest ru.zaryaj.Directory.SearchProvider \
        --object-path /ru/zaryaj/Directory/SearchProvider \
        --method org.gnome.Shell.SearchProvider2.GetInitialResultSet "['гаврилов']" >/dev/null
}
first=()
again=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    call
    first+=($((($(date +%s%N) - start) / 1000)))
    start=$(date +%s%N)
    call
    again+=($((($(date +%s%N) - start) / 1000)))
    pid=$(owner_pid ru.zaryaj.Directory.SearchProvider)
    kill "$pid"
    while kill -0 "$pid" 2>/dev/null; do sleep 0.01; done
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
printf 'Desktop search, first call, service started  median %6.1f ms (%d runs)\n' \
    "$(awk "BEGIN { print $(median "${first[@]}") / 1000 }")" "$runs"
printf 'Desktop search, call to the running service   median %6.1f ms (gdbus included)\n' \
    "$(awk "BEGIN { print $(median "${again[@]}") / 1000 }")"
