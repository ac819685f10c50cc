# Sourced by the tools' scripts: builds go through the presets of CMakePresets.json.
# Set `as_user` (an array, possibly empty) to run CMake as another user.

# Without a UTF-8 locale (a minimal root, a container) Qt's tools that the build runs
# (moc, uic, rcc, qdbusxml2cpp) each say at length that they take C.UTF-8 instead: the
# build takes it from the start, and speaks only of errors.
in_utf8=()
[[ $(locale charmap 2>/dev/null) == UTF-8 ]] || in_utf8=(env LC_ALL=C.UTF-8)

# configure PRESET DIR: when DIR has no cache yet, when CMakePresets.json changed since,
# or when DIR was last configured otherwise (another preset, or by hand); later builds
# re-run CMake themselves when a CMakeLists.txt changes.
configure() {
    local preset=$1 dir=$2 stamp
    stamp="$preset $(sha256sum CMakePresets.json | cut -d' ' -f1)"
    [[ -f $dir/CMakeCache.txt && $(cat "$dir/.zaryaj-preset" 2>/dev/null) == "$stamp" ]] && return
    echo "${0##*/}: configuring $dir/ ($preset)"
    "${as_user[@]}" "${in_utf8[@]}" cmake --preset "$preset" >/dev/null
    echo "$stamp" >"$dir/.zaryaj-preset"
}

# build PRESET DIR [ARGUMENTS...]: the compiler speaks only of errors.
build() {
    local preset=$1 dir=$2 quiet=(--no-print-directory)
    shift 2
    [[ -f $dir/build.ninja ]] && quiet=(--quiet)
    echo "${0##*/}: building $dir/"
    "${as_user[@]}" "${in_utf8[@]}" cmake --build --preset "$preset" --parallel "$(nproc)" "$@" \
        -- "${quiet[@]}" >/dev/null
}
