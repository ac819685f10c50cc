#!/bin/sh
# ctest's run of the fuzzer: from the committed seeds into a fresh scratch corpus, so
# that every run takes about the same time whatever earlier runs found.
# Arguments: the fuzzer, the scratch corpus, the seeds, then libFuzzer's options.
set -e
fuzzer=$1
scratch=$2
seeds=$3
shift 3
rm -rf "$scratch"
mkdir -p "$scratch"
exec "$fuzzer" "$@" "$scratch" "$seeds"
