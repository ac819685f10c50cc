#!/usr/bin/env bash
# Formats our sources with the committed .clang-format (clang-format 14 and 19 alike):
# `bash tools/format.sh` rewrites them, `bash tools/format.sh --check` only reports.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format)
mapfile -t files < <(find activation app bench directory platform printing provider results search tests tools ui \( -name '*.cpp' -o -name '*.h' \) | sort)
if [[ ${1:-} == --check ]]; then
    "$format" --dry-run -Werror "${files[@]}"
    echo "format: ${#files[@]} files as formatted"
else
    "$format" -i "${files[@]}"
fi
