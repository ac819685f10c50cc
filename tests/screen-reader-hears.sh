#!/usr/bin/env bash
# Plays a key script to the program while Orca listens (through the screen reader tool,
# screen-reader-says.sh, taken from the first of the folders that has it) and checks what
# it said: every "expect" line of the script, in order, and no "never" line.
# usage: screen-reader-hears.sh PROGRAM SCRIPT FOLDER...; exits 77 without the tool.
set -uo pipefail
program=$1 script=$2
shift 2
tool=
for folder; do
    [[ -x $folder/screen-reader-says.sh ]] && tool=$folder/screen-reader-says.sh && break
done
if [[ -z $tool ]]; then
    echo "no screen-reader-says.sh in $*"
    exit 77
fi
mapfile -t expected < <(sed -n 's/^expect //p' "$script")
mapfile -t never < <(sed -n 's/^never //p' "$script")
said=$(grep -v -e '^expect ' -e '^never ' "$script" | "$tool" "$program") || {
    echo "$said"
    exit 1
}
next=0 failed=0
while IFS= read -r line; do
    text=${line#SAY: }
    for unwanted in "${never[@]}"; do
        [[ $text == "$unwanted" ]] && echo "said: $unwanted" && failed=1
    done
    ((next < ${#expected[@]})) && [[ $text == "${expected[next]}" ]] && ((next++))
done <<<"$said"
if ((next < ${#expected[@]})); then
    echo "not said, or not in this order: ${expected[next]}"
    failed=1
fi
if ((failed)); then
    printf '%s\n' '--- what the screen reader said:' "$said"
    exit 1
fi
