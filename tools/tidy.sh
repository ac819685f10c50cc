#!/usr/bin/env bash
# Runs clang-tidy (the committed .clang-tidy) over our sources with the compile commands
# of a build: bash tools/tidy.sh BUILD_DIR. Prints what it finds and fails if anything
# is found. The directories it covers are listed once, below.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: tools/tidy.sh BUILD_DIR}
dirs=(directory search results printing platform provider ui activation app tests bench tools)
generated='^directory/records\.cpp$'

tidy=$(command -v clang-tidy)
database=$build/compile_commands.json
[[ -f $database ]] || {
    echo "tidy: no $database; configure the build first" >&2
    exit 2
}
# Our .cpp files that this build compiles; their headers in the same directories are
# checked through them.
files=()
while IFS= read -r file; do
    [[ $file =~ $generated ]] && continue
    grep -qF "\"$PWD/$file\"" "$database" && files+=("$file")
done < <(find "${dirs[@]}" -name '*.cpp' | sort)
header_filter="^$PWD/($(
    IFS='|'
    echo "${dirs[*]}"
))/([^/]+/)*[^/]+\.h$"

printf '%s\n' "${files[@]}" |
    xargs -P "$(nproc)" -I{} sh -c 'out=$("$0" -p "$1" --quiet --header-filter="$2" "$3" 2>&1) ||
        { printf "%s\n" "$out"; exit 1; }' "$tidy" "$build" "$header_filter" {} ||
    {
        echo "tidy: findings above" >&2
        exit 1
    }
echo "tidy: ${#files[@]} files, no findings"
