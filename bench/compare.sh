#!/usr/bin/env bash
# The searches of two builds side by side: each build's benchmark of the searches run in
# turn, ROUNDS times (7 unless given), each run giving every search's median of its 101 timings; prints
# each search's median over the rounds for both builds and the ratio. The other build's
# benchmark may be of any commit: it is stopped once it has printed the searches.
#
#   compare.sh THIS_BUILD OTHER_BUILD OTHER_NAME [ROUNDS]
set -euo pipefail
ours=$1 theirs=$2 name=$3 rounds=${4:-7}
export QT_QPA_PLATFORM=offscreen
export LC_ALL=C.UTF-8 # the searches' names are padded by characters, some Cyrillic

# run_searches BENCH COUNT SIDE: "SIDE<tab>search<tab>median" for the first COUNT
# searches BENCH prints.
run_searches() {
    local bench=$1 count=$2 side=$3 line search seen=0
    coproc searches { exec stdbuf -oL "$bench" searches 2>/dev/null; }
    local pid=$searches_PID
    while ((seen < count)) && IFS= read -r line <&"${searches[0]}"; do
        [[ $line == *" median "*" ms "* ]] || continue
        search=${line%% median *}
        search=${search%"${search##*[! ]}"}
        line=${line#* median }
        printf '%s\t%s\t%s\n' "$side" "$search" "${line%% ms*}"
        seen=$((seen + 1))
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

figures=$(mktemp)
trap 'rm -f "$figures"' EXIT
run_searches "$ours/bench/bench_zaryaj" 1000 ours >>"$figures"
count=$(wc -l <"$figures")
for ((round = 1; round <= rounds; round++)); do
    run_searches "$theirs/bench/bench_zaryaj" "$count" theirs >>"$figures"
    ((round == 1)) || run_searches "$ours/bench/bench_zaryaj" "$count" ours >>"$figures"
done

median() { sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
printf 'The searches through the real window to the end of the repaint (offscreen), ms:\n'
printf 'each the median of %d runs in turn, each run the median of its timings\n' "$rounds"
printf '  %-42s %10s %10s %7s\n' "" "$name" "this tree" "ratio"
cut -f2 "$figures" | awk '!seen[$0]++' | while IFS= read -r search; do
    mine=$(awk -F'\t' -v s="$search" '$1 == "ours" && $2 == s { print $3 }' "$figures" | median)
    other=$(awk -F'\t' -v s="$search" '$1 == "theirs" && $2 == s { print $3 }' "$figures")
    printf '  %s%*s' "$search" $((42 - ${#search})) ""
    if [[ -z $other ]]; then
        printf ' %10s %10.3f\n' "-" "$mine"
        continue
    fi
    other=$(median <<<"$other")
    printf ' %10.3f %10.3f %6.2fx\n' "$other" "$mine" \
        "$(awk -v a="$mine" -v b="$other" 'BEGIN { print a / b }')"
done
