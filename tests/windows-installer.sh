#!/usr/bin/env bash
# The Windows installer on a new machine: installs silently (/S) into a fresh Wine
# prefix, checks the Start-menu entry and the uninstaller, starts the installed program
# with Qt's windows platform on an X server of its own, waits for its main window, and
# uninstalls. With a second argument, a screenshot of the main window goes there.
#
#   tests/windows-installer.sh build-windows/package/zaryaj-1.0-win64.exe [shot.png]
set -euo pipefail
installer=$(realpath "$1")
shot=${2:+$(realpath -m "$2")}
here=$(dirname "$(realpath "$0")")
entry=$(sed -n 's/^Name=//p' "$here/../packaging/ru.zaryaj.Directory.desktop")
title=$(grep -A1 '"windowTitle"' "$here/../ui/windows/tform1.ui" | sed -n 's|.*<string>\(.*\)</string>.*|\1|p')

work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Nothing of the tests' own Qt settings reaches the installed program.
unset "${!WINEQT_@}" WINEPATH 2>/dev/null || true
xvfb=
finish() {
    wineserver -k 2>/dev/null || true
    [[ -z $xvfb ]] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
fail() {
    echo "windows-installer: $*" >&2
    exit 1
}
# Waits up to $1 seconds for the command after it to succeed.
within() {
    local seconds=$1
    shift
    for ((i = 0; i < seconds * 4; i++)); do
        "$@" && return 0
        sleep 0.25
    done
    return 1
}

# Wine's session, installing included, runs on the X server from the start: a Wine
# session begun without a display would show no window later.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
within 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
wineboot -i >/dev/null 2>&1
wine "$installer" /S >"$work/installer.log" 2>&1 || { cat "$work/installer.log" >&2; fail "the installer failed"; }
folder="$WINEPREFIX/drive_c/Program Files/Zaryaj"
[[ -f $folder/zaryaj.exe && -f $folder/zaryaj-print.dll ]] || fail "nothing installed in $folder"
[[ -f $folder/Uninstall.exe ]] || fail "no uninstaller"
link=$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name "$entry.lnk" | head -1)
[[ -n $link ]] || fail "no Start-menu entry named \"$entry\""

wine 'C:\Program Files\Zaryaj\zaryaj.exe' >"$work/program.log" 2>&1 &
shown() { xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; }
within 90 shown || { cat "$work/program.log" >&2; fail "the main window \"$title\" did not show"; }
if [[ -n $shot ]]; then
    sleep 2 # drawn
    import -window root "$shot"
fi
wineserver -k

wine "$folder/Uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed"
# The uninstaller goes on from a copy of itself.
gone() { [[ ! -e $folder/zaryaj.exe && -z $(find "$WINEPREFIX/drive_c" -name "$entry.lnk") ]]; }
within 30 gone || fail "the uninstaller left the program or its menu entry behind"
echo "windows-installer: installed, started (\"$title\" shown) and uninstalled"
