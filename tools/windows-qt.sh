#!/usr/bin/env bash
# Sourced by dev.sh: windows_qt builds Qt's base for 64-bit Windows from Debian's own
# source package of the installed Qt (Debian's Linux Qt serves as the host tools), once,
# into the cache, and sets `qt_windows` to its prefix. The cache is keyed on the version
# of qt6-base-dev, the options below and the toolchain file, so a change to any of them
# builds anew. Only what the program loads is built: Core, Gui, Widgets, PrintSupport,
# Test and the Windows platform plugin, with Qt's own zlib, libpng, libjpeg, FreeType,
# HarfBuzz and PCRE2; no OpenGL, SQL, network, D-Bus or XML.
#
# Debian's source drops wintab, hence no tablet events. Printing on Windows needs the
# DirectWrite font engine, which comes with direct2d. Without OpenGL, its dynamic
# loading must be off too, or the platform plugin does not compile.
qt_windows_options=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
    -DFEATURE_glib=OFF -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
)

windows_qt() {
    local cache=${ZARYAJ_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zaryaj}
    local version key
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    mkdir -p "$cache"
    # The installed Qt refers to its toolchain file by path: it lives in the cache.
    local toolchain=$cache/mingw-w64.cmake
    cmp -s cmake/mingw-w64.cmake "$toolchain" || cp cmake/mingw-w64.cmake "$toolchain"
    key=$( (echo "${qt_windows_options[*]}" && cat "$toolchain") | sha256sum | cut -c1-12)
    qt_windows=$cache/qt-$version-win64-$key
    [[ -f $qt_windows/.complete ]] && return
    # One build at a time: two at once crash the compiler half-way. A second run waits
    # for the first, then finds its Qt complete.
    exec {qt_lock}>"$cache/qt.lock"
    if ! flock -n "$qt_lock"; then
        echo "${0##*/}: waiting for another build of Qt for Windows to finish"
        flock "$qt_lock"
    fi
    [[ -f $qt_windows/.complete ]] && return

    local work=$cache/qt-source
    local upstream=${version%-*}
    local src=$work/qt6-base-$upstream
    if [[ ! -d $src ]]; then
        echo "${0##*/}: fetching Debian's source of qt6-base $version"
        windows_deb_src
        rm -rf "$work" && mkdir -p "$work"
        (cd "$work" && apt-get source -qq "qt6-base=$version" >source.log 2>&1) ||
            { cat "$work/source.log" >&2; return 1; }
        [[ -d $src ]] || { echo "${0##*/}: no $src after fetching" >&2; return 1; }
    fi

    echo "${0##*/}: building Qt $upstream for Windows into $qt_windows (about 20 minutes on two cores, once)"
    # A build that stopped half-way goes on where it stopped.
    local build=$work/build
    rm -rf "$qt_windows"
    cmake -S "$src" -B "$build" -G Ninja -Wno-dev \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_INSTALL_PREFIX="$qt_windows" "${qt_windows_options[@]}" \
        >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; return 1; }
    cmake --build "$build" --parallel "$(nproc)" >"$work/build.log" 2>&1 ||
        { grep -a -m10 -A4 -e 'error:' -e '^FAILED:' "$work/build.log" >&2; return 1; }
    cmake --install "$build" >/dev/null
    rm -rf "$build"
    touch "$qt_windows/.complete"
    exec {qt_lock}>&-
    # Builds of other keys are no longer used.
    find "$cache" -maxdepth 1 -name 'qt-*-win64-*' ! -path "$qt_windows" -exec rm -rf {} +
}

# Debian's source packages come from the same mirror as its binaries.
windows_deb_src() {
    local list=/etc/apt/sources.list.d/zaryaj-deb-src.sources
    [[ -f $list ]] && return
    local as_root=()
    [[ $(id -u) -eq 0 ]] || as_root=(sudo)
    "${as_root[@]}" tee "$list" >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    "${as_root[@]}" apt-get update -qq
}
