#!/usr/bin/env bash
# Installs what is missing, builds, then starts the program (`start`), runs every
# test (`test`), the benchmarks (`bench`) or builds the Debian package (`deb`). Safe to
# run again: it installs and rebuilds only what is missing or changed.
#
# `test` runs the tests of the normal build, then builds everything again with clang
# in a Debug build (assertions live) under AddressSanitizer and UBSan (build-asan/)
# and runs the same tests there, the fuzzer of user actions for a minute, clang-tidy
# and the clang-format check.
set -euo pipefail

cd "$(dirname "$0")/.."
action=${1:-}
case "$action" in
start | test | bench | deb) ;;
*)
    echo "usage: $0 start|test|bench|deb" >&2
    exit 2
    ;;
esac

packages=(g++ make cmake qt6-base-dev fonts-liberation qt6-translations-l10n)
# Installing and packaging: the SVG plugin renders the menu icon at build time,
# dpkg-dev computes the package's dependencies, and Debian's validators check the result.
packages+=(libqt6svg6 dpkg-dev desktop-file-utils appstream lintian)
# A screen reader's view: an X server, a D-Bus session and the accessibility bus.
packages+=(xvfb dbus at-spi2-core)
if [[ $action == test ]]; then
    # clang with its sanitizer and libFuzzer runtimes, the symbolizer for their
    # reports, clang-tidy and clang-format.
    packages+=(clang-14 libclang-rt-14-dev llvm-14 clang-tidy-14 clang-format-14)
fi
source tools/install-missing.sh
install_missing "${packages[@]}"

# Started with sudo, the program is built and run as the user who asked for it, whose
# display it opens on.
as_user=()
if [[ $(id -u) -eq 0 && -n ${SUDO_USER:-} && $SUDO_USER != root ]]; then
    as_user=(sudo -u "$SUDO_USER" --preserve-env=DISPLAY,WAYLAND_DISPLAY,XAUTHORITY,XDG_RUNTIME_DIR)
fi

build=build
if [[ ! -f $build/CMakeCache.txt ]]; then
    "${as_user[@]}" cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
"${as_user[@]}" cmake --build "$build" --parallel "$(nproc)" -- --no-print-directory >/dev/null

case "$action" in
start) exec "${as_user[@]}" "$build/app/zaryaj" ;;
bench) exec "${as_user[@]}" "$build/bench/bench_zaryaj" ;;
deb) exec "${as_user[@]}" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" ;;
esac

"${as_user[@]}" ctest --test-dir "$build" --output-on-failure

checked=build-asan
if [[ ! -f $checked/CMakeCache.txt ]]; then
    "${as_user[@]}" env CC=clang-14 CXX=clang++-14 cmake -S . -B "$checked" \
        -DCMAKE_BUILD_TYPE=Debug -DZARYAJ_SANITIZE=ON -DZARYAJ_CHECKS=ON >/dev/null
fi
"${as_user[@]}" cmake --build "$checked" --parallel "$(nproc)" -- --no-print-directory >/dev/null
# The package is checked in the normal build only.
exec "${as_user[@]}" ctest --test-dir "$checked" --output-on-failure --label-exclude packaging
