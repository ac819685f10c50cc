#!/usr/bin/env bash
# Installs what is missing, builds, then starts the program (`start`), runs the tests
# (`test`), adds what CI checks (`check`), runs the benchmarks (`bench`), builds the
# Debian package (`deb`) or builds for Windows, tests under Wine and makes the Windows
# installer (`windows`). Safe to run again: it installs and rebuilds only what is
# missing or changed. Builds and tests go through the presets of CMakePresets.json.
#
# `test` builds the normal build (build/) and runs its tests in parallel: those without
# windows, those with windows, a short soak and the fuzzer's seeds.
# `check` adds what CI checks: in the normal build the full soak, the package's checks,
# what Orca says over a short key script, the window tests and a soak once more on
# Wayland (a headless sway, tests/with-sway.sh) and the program under the real GNOME
# Shell and KDE (headless, on Wayland and through Xwayland); then it builds everything
# again with clang in a Debug build (assertions live) under AddressSanitizer and UBSan
# (build-asan/) and runs the same tests there, the fuzzer of user actions for a minute,
# clang-tidy and the clang-format check; last, `desktops` in a root of the other Debian
# release (12 or 13).
# `desktops`, in a Debian root of tools/debian-root.sh only: the test command, the package
# built, installed with apt and started, its checks, and the GNOME Shell and KDE checks.
# `bench BASE` builds the commit BASE beside the working tree (build-bench-base/) and
# runs both builds' benchmarks of the searches and the program's start-up in turn,
# printing each figure's median for both and the ratio.
# `fuzz HOURS` runs the fuzzer of user actions on the sanitizer build for that long (0.2
# is twelve minutes) and says how many actions it ran, the coverage it reached and the
# time it took.
# `windows` builds Qt's base for Windows from Debian's source package once into a cache
# (tools/windows-qt.sh), cross-compiles the program with MinGW-w64 (build-windows/),
# runs the tests under Wine, makes the NSIS installer and installs it into a fresh Wine
# prefix, where the program must start through its shortcuts and answer a few scenarios
# as the Linux build's program (build/) does.
set -euo pipefail

cd "$(dirname "$0")/.."
action=${1:-}
case "$action" in
start | test | check | desktops | deb | windows) ;;
bench) [[ $# -le 2 ]] || set -- usage ;;
fuzz) [[ ${2:-} =~ ^[0-9]*\.?[0-9]+$ ]] || set -- usage ;;
*)
    set -- usage
    ;;
esac
if [[ $1 == usage ]]; then
    echo "usage: $0 start|test|check|desktops|bench|deb|windows" >&2
    echo "       $0 bench BASE" >&2
    echo "       $0 fuzz HOURS" >&2
    exit 2
fi

say() { echo "dev.sh: $*"; }

# Without a display there is nothing to start; said at once, in the program's own words,
# rather than after installing and building.
if [[ $action == start && -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    cat platform/no-display.txt >&2
    exit 1
fi

source tools/install-missing.sh
# What Debian's releases (12, 13 and testing) name differently, decided here by what is
# installed or installable: KRunner's interface file and library, KDE Frameworks 6's where
# the release has them, else 5's. KF5's runner library also wants KI18n's to be found; the
# test client gives KF6's its settings through KConfig, whose CMake package asks for Qt
# Qml's, which Debian 13's libkf6config-dev does not bring.
krunner_xml=$(first_available libkf6runner6 libkf5runner5)
krunner_dev=($(first_available libkf6runner-dev libkf5runner-dev))
if [[ ${krunner_dev[0]} == libkf5runner-dev ]]; then
    krunner_dev+=(libkf5i18n-dev)
else
    krunner_dev+=(libkf6config-dev qt6-declarative-dev)
fi

packages=(g++ make cmake qt6-base-dev fonts-liberation qt6-translations-l10n)
# The SVG plugin renders the menu icon when the whole build is built.
[[ $action == start || $action == windows ]] || packages+=(libqt6svg6)
# A screen reader's view: an X server, a D-Bus session and the accessibility bus. Qt's
# Wayland plugin, as every Wayland desktop has it, for the start-up's display checks.
[[ $action == test || $action == check || $action == desktops ]] &&
    packages+=(xvfb dbus at-spi2-core qt6-wayland)
[[ $action == bench ]] && packages+=(xvfb dbus libglib2.0-bin)
# Coming forward when the desktop asks: X11's and Wayland's client libraries, Qt's
# native interface to its connections (declared with its private headers, though no
# private symbol is used), wayland-scanner and the protocols.
# `windows` builds the Linux program too, whose answers the Windows one must give.
packages+=(pkg-config libxcb1-dev libwayland-dev libwayland-bin
    wayland-protocols qt6-base-private-dev)
# The print plugin asks libcups how the print system answered a job (the Linux build,
# which `windows` makes too).
packages+=(libcups2-dev)
# The desktops' search interfaces (GNOME Shell's and KRunner's) for the search service;
# the tests call it with gdbus and through KRunner's own library.
[[ $action == start || $action == windows ]] || packages+=(gnome-shell-common "$krunner_xml")
[[ $action == test || $action == check ]] && packages+=(libglib2.0-bin "${krunner_dev[@]}")
# The tests read saved PDFs back with poppler's pdftotext and pdfinfo, and vCards with
# Debian's Python vCard parser.
[[ $action == test || $action == check ]] && packages+=(poppler-utils python3-vobject)
# Packaging: dpkg-dev computes the package's dependencies, and Debian's validators check
# the result.
[[ $action == check || $action == desktops || $action == deb ]] &&
    packages+=(dpkg-dev desktop-file-utils appstream lintian)
# What a screen reader says is heard from Debian's Orca, on an X server with a window
# manager, keys played by xdotool. The window tests run again on a headless sway, with a
# keyboard on its seat that wtype holds.
[[ $action == check ]] && packages+=(orca xdotool icewm python3-pyatspi sway wtype)
# Printing through a print server of the check's own, with a cups-pdf queue.
[[ $action == check ]] && packages+=(cups cups-client printer-driver-cups-pdf)
# clang with its sanitizer and libFuzzer runtimes, the symbolizer for their reports,
# clang-tidy and clang-format.
[[ $action == check || $action == fuzz ]] &&
    packages+=(clang libclang-rt-dev llvm clang-tidy clang-format)
# Windows: MinGW-w64 with POSIX threads, which Qt 6 needs; Debian's Linux Qt's tools
# (moc, uic, rcc) for the cross build; Ninja; Wine to run the tests and the installer;
# NSIS to make it; an X server for the installer's and the installed program's windows,
# with a Russian keyboard layout, keys played by xdotool, the clipboard read by xclip and
# windows' pictures taken by xwd, to see that a key changed what a window shows.
[[ $action == windows ]] && packages+=(g++-mingw-w64-x86-64-posix qt6-base-dev-tools ninja-build
    dpkg-dev wine wine64 nsis xvfb x11-utils x11-xkb-utils xdotool xclip x11-apps)
install_missing "${packages[@]}"
# The real GNOME Shell around the program, headless, with Xwayland; none of the rest of
# a GNOME desktop that it recommends.
# The real KWin (on Wayland and on X11) and KRunner around the program, likewise; the
# program's windows read on the accessibility bus, Enter played by xdotool.
if [[ $action == check || $action == desktops ]]; then
    install_missing python3-pyatspi xdotool
    install_missing --no-install-recommends gnome-shell xwayland
    install_missing --no-install-recommends kwin-wayland kwin-x11 plasma-workspace x11-utils
fi

# Started with sudo, the program is built and run as the user who asked for it, whose
# display it opens on.
as_user=()
if [[ $(id -u) -eq 0 && -n ${SUDO_USER:-} && $SUDO_USER != root ]]; then
    as_user=(sudo -u "$SUDO_USER" --preserve-env=DISPLAY,WAYLAND_DISPLAY,XAUTHORITY,XDG_RUNTIME_DIR)
fi

source tools/presets.sh
run_tests() {
    "${as_user[@]}" ctest --preset "$1" -j "$(nproc)"
}

if [[ $action == windows ]]; then
    source tools/windows-qt.sh
    windows_qt
    export ZARYAJ_QT_WINDOWS=$qt_windows
    # A build made with another Qt (another cache key) is configured anew.
    grep -qF "$qt_windows" build-windows/CMakeCache.txt 2>/dev/null || rm -rf build-windows
    configure windows build-windows
    build windows build-windows
    say "testing build-windows/ under Wine (offscreen)"
    # The build's Wine prefix is made before the tests start in parallel.
    build-windows/wine-run.sh wineboot -i >/dev/null 2>&1
    ctest --preset windows -j "$(nproc)"
    say "making the installer"
    cpack -G NSIS --config build-windows/CPackConfig.cmake -B build-windows/package >/dev/null
    # The scenarios on the installed program are compared with the Linux build's answers.
    configure normal build
    build normal build --target zaryaj
    say "installing it under Wine, starting the program through its shortcuts on Wine's display" \
        "(Xvfb), playing the scenarios, uninstalling"
    exec ctest --preset windows-installer
fi

if [[ $action == fuzz ]]; then
    seconds=$(awk -v hours="$2" 'BEGIN { printf "%d", hours * 3600 }')
    configure sanitize build-asan
    build sanitize build-asan --target fuzz_actions
    fuzz=build-asan/tests/fuzz
    workers=$(nproc)
    say "fuzzing the user actions on build-asan/ for $seconds s, $workers at once"
    mkdir -p "$fuzz/artifacts"
    # The count is summed over the logs, so those of an earlier run with more workers go.
    rm -f "$fuzz"/long-run-*.log
    started=$(date +%s)
    pids=()
    for ((worker = 1; worker <= workers; worker++)); do
        # As ctest runs it, with the suppressions of leaks in system libraries; each from
        # the seeds into a corpus of its own. Over an hour the sanitizer build's peak
        # memory passes libFuzzer's default limit of 2 GB: a PDF of the whole directory
        # is built in memory, and freed memory waits in the sanitizer's quarantine. An
        # input of 64 actions may print and save the whole directory many times over,
        # which takes the sanitizer build more than 30 s.
        LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
            ASAN_SYMBOLIZER_PATH=$(command -v llvm-symbolizer) QT_QPA_PLATFORM=offscreen \
            CUPS_SERVER="$PWD/$fuzz/no-cups.sock" \
            sh tests/fuzz/run.sh "$fuzz/fuzz_actions" "$fuzz/corpus-long-$worker" tests/fuzz/seeds \
            -max_total_time="$seconds" -timeout=300 -max_len=2048 -len_control=0 \
            -rss_limit_mb=4096 -detect_leaks=0 -print_final_stats=1 -artifact_prefix="$fuzz/artifacts/long-$worker-" \
            2>"$fuzz/long-run-$worker.log" &
        pids+=($!)
    done
    failed=0
    for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
    actions=$(cat "$fuzz"/long-run-*.log | awk '/ actions run$/ { sum += $2 } END { print sum + 0 }')
    coverage=$(grep -ho 'cov: [0-9]*' "$fuzz"/long-run-*.log | sort -t' ' -k2 -n | tail -1)
    say "$actions actions run, most coverage $coverage, $(($(date +%s) - started)) s;" \
        "the fuzzer's words in $fuzz/long-run-*.log"
    if ((failed)); then
        grep -h -A30 -m1 -e '^fuzz_actions: [^0-9]' -e 'ERROR:' "$fuzz"/long-run-*.log >&2
        exit 1
    fi
    exit 0
fi

configure normal build
case "$action" in
start)
    build normal build --target zaryaj
    exec "${as_user[@]}" build/app/zaryaj
    ;;
bench)
    build normal build
    if [[ -n ${2:-} ]]; then
        base=$(git rev-parse --verify --quiet "$2^{commit}") || {
            echo "dev.sh: no commit $2" >&2
            exit 2
        }
        # BASE's files, not a worktree: the repository's records stay as they were. A
        # build of another commit is made anew, as every file's time would be the same.
        if [[ $(cat build-bench-base/commit 2>/dev/null) != "$base" ]]; then
            say "taking $2 (${base:0:7}) into build-bench-base/src/"
            rm -rf build-bench-base
            mkdir -p build-bench-base/src
            git archive "$base" | tar -x -C build-bench-base/src
            echo "$base" >build-bench-base/commit
        fi
        say "building build-bench-base/ (${base:0:7}), the way the normal build is built"
        "${as_user[@]}" cmake -S build-bench-base/src -B build-bench-base/build \
            -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARYAJ_WERROR=OFF >/dev/null
        "${as_user[@]}" cmake --build build-bench-base/build --parallel "$(nproc)" \
            --target zaryaj bench_zaryaj -- --no-print-directory >/dev/null
        say "the searches, ${base:0:7}'s benchmark and this tree's in turn (offscreen)"
        "${as_user[@]}" bash bench/compare.sh build build-bench-base/build "${base:0:7}" 11
        say "start-up, ${base:0:7}'s program and this tree's in turn (Xvfb and a session bus)"
        exec "${as_user[@]}" dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" \
            env QT_QPA_PLATFORM=xcb build/bench/bench_zaryaj startup 31 \
            "this tree=build/app/zaryaj" "${base:0:7}=build-bench-base/build/app/zaryaj"
    fi
    say "benchmarks of the searches, files and memory (offscreen)"
    "${as_user[@]}" build/bench/bench_zaryaj
    say "the desktop's first search, the bus starting the service (a private session bus)"
    "${as_user[@]}" bash bench/desktop-activation.sh build 21
    # Start-up is timed on an X server of its own (Xvfb) with a session bus, as on a
    # desktop, where the program takes its name on the bus.
    say "start-up beside the main window's .ui built by Qt alone (Xvfb, about a minute)"
    exec "${as_user[@]}" dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" \
        env QT_QPA_PLATFORM=xcb build/bench/bench_zaryaj startup 31
    ;;
deb)
    build normal build
    exec "${as_user[@]}" cpack -G DEB --config build/CPackConfig.cmake -B build/package
    ;;
test)
    build normal-tests build
    say "testing build/ (without windows, with windows, short soak, fuzz seeds)"
    run_tests normal
    ;;
check)
    build normal build
    say "testing build/ (long soak, package, screen reader, windows on Wayland, GNOME Shell)"
    run_tests normal-check
    configure sanitize build-asan
    build sanitize build-asan
    say "testing build-asan/ (without windows, with windows, fuzzer for a minute)"
    run_tests sanitize
    say "clang-tidy and clang-format over our sources in build-asan/ (some minutes)"
    run_tests lint
    # The other Debian releases as a new user installs them, each in a root of its own.
    [[ -n ${ZARYAJ_IN_ROOT:-} ]] && exit 0
    . /etc/os-release
    for release in bookworm trixie; do
        [[ $release == "$VERSION_CODENAME" ]] && continue
        say "Debian's $release in a root of its own (tools/debian-root.sh): the README's test" \
            "command, the package built, installed with apt and started, GNOME Shell and KDE"
        # 77: the mirror has no such release, which debian-root.sh has said.
        bash tools/debian-root.sh "$release" bash tools/dev.sh desktops || (($? == 77))
    done
    ;;
desktops)
    # In a root of its own (tools/debian-root.sh) only: it installs the package it builds.
    [[ -n ${ZARYAJ_IN_ROOT:-} ]] || {
        echo "dev.sh: desktops runs in a Debian root: bash tools/debian-root.sh trixie bash tools/dev.sh desktops" >&2
        exit 2
    }
    bash tools/dev.sh test
    say "the package built, installed with apt and started ($(cat /etc/debian_version))"
    rm -rf build/package
    bash tools/dev.sh deb >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./build/package/zaryaj_*.deb >/dev/null
    # It runs until ended: started, it stays up; broken, it ends at once.
    status=0
    QT_QPA_PLATFORM=offscreen timeout 3 zaryaj || status=$?
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zaryaj >/dev/null
    ((status == 124)) || {
        echo "dev.sh: the installed zaryaj ended with $status within 3 s" >&2
        exit 1
    }
    say "testing build/ (package, GNOME Shell, KDE)"
    ctest --test-dir build -L 'packaging|gnome-shell|kde' --output-on-failure
    ;;
esac
