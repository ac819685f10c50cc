#!/usr/bin/env bash
# The Windows installer on a new machine whose language is not Russian: in a fresh Wine
# prefix on an X server of its own, a user goes through its pages by keys, in Russian,
# and reads its licence page through the clipboard; takes the default choices; checks
# what "Apps & features" shows; starts the program through the desktop and Start-menu
# shortcuts until its main window shows; plays windows-scenarios.sh on it against the
# Linux build; uninstalls through the uninstaller's pages; and finds no file, shortcut
# or registry key of the program left. With a third argument, a screenshot of the main
# window goes there.
#
#   tests/windows-installer.sh build-windows/package/zaryaj-1.0-win64.exe build/app/zaryaj [shot.png]
set -euo pipefail
installer=$(realpath "$1")
linux=$(realpath "$2")
shot=${3:+$(realpath -m "$3")}
here=$(dirname "$(realpath "$0")")
entry=$(sed -n 's/^Name=//p' "$here/../packaging/ru.zaryaj.Directory.desktop")
title=$(grep -A1 '"windowTitle"' "$here/../ui/windows/tform1.ui" | sed -n 's|.*<string>\(.*\)</string>.*|\1|p')
licence=$(perl -0ne 'print $1 if /"plainText">\s*<string>(.*?)<\/string>/s' "$here/../ui/windows/tform4.ui")

work=$(mktemp -d)
# No shortcut reaches this machine's own menus (winemenubuilder).
export LANG=C.UTF-8 WINEPREFIX=$work/wine WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
# Nothing of the tests' own Qt settings reaches the installed program.
unset LC_ALL LANGUAGE "${!WINEQT_@}" WINEPATH 2>/dev/null || true
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
shown() { xwininfo -root -tree 2>/dev/null | grep -qF "\"$1"; }
# Clicks into the window whose title begins with $1, which gives it the keyboard, then
# presses the keys after it. The search is made again when a window closing meanwhile
# failed it.
press() {
    local id
    for _ in {1..40}; do
        id=$(xdotool search --name "^$1" 2>/dev/null | head -1) && break
        sleep 0.25
    done
    [[ -n $id ]] || fail "no window \"$1\""
    xdotool mousemove --window "$id" 250 180 click 1 sleep 0.5 key --delay 700 "${@:2}"
}

# Wine's session, installing included, runs on the X server from the start: a Wine
# session begun without a display would show no window later. The server keeps the
# keyboard layout (us,ru, for the Cyrillic of the scenarios) when its last client goes.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
within 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
setxkbmap -layout us,ru
wineboot -i >/dev/null 2>&1

wine "$installer" >"$work/installer.log" 2>&1 &
setup=$!
within 60 shown "Установка $entry" || fail "no installer window \"Установка $entry\""
press Установка Return
press Установка ctrl+a ctrl+c
[[ $(xclip -o -selection clipboard | tr -d '\r') == "$licence" ]] ||
    fail "the licence page does not show the text of the \"Лицензия\" window"
# The licence accepted, the components (the desktop shortcut chosen) and the folder as
# offered, then the last page once the files are in.
for ((i = 0; i < 120; i++)); do kill -0 "$setup" 2>/dev/null && xdotool key Return sleep 1; done
wait "$setup" || { cat "$work/installer.log" >&2; fail "the installer failed"; }
wineserver -w # Wine writes its registry files

folder="$WINEPREFIX/drive_c/Program Files/Zaryaj"
[[ -f $folder/zaryaj.exe && -f $folder/zaryaj-print.dll ]] || fail "nothing installed in $folder"
menu=$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name "$entry.lnk")
desktop=$(find "$WINEPREFIX/drive_c" -path '*Desktop*' -name "$entry.lnk")
[[ -n $menu && -n $desktop ]] || fail "no Start-menu entry or desktop shortcut named \"$entry\""
# "Apps & features" from Wine's registry file, whose \x escapes are the characters
# beyond ASCII (`wine reg query` prints Cyrillic as "?").
uninstall='^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Zaryaj\]'
apps=$(perl -CSD -ne "print if /$uninstall/ .. /^\$/" "$WINEPREFIX/system.reg" |
    perl -CSD -pe 's/\\x([0-9a-f]{1,4})/chr(hex $1)/ge; s/\\\\/\\/g')
value() { sed -n "s/^\"$1\"=\"\?\([^\"]*\)\"\?$/\1/p" <<<"$apps"; }
kilobytes=$(find "$folder" -type f -printf '%s\n' | awk '{ sum += $1 } END { print int(sum / 1024) }')
size=$(($(value EstimatedSize | sed 's/dword:/0x/')))
[[ $(value DisplayName) == "$entry" && $(value DisplayVersion) =~ ^[0-9]+\.[0-9]+$ &&
    $(value InstallLocation) == 'C:\Program Files\Zaryaj' &&
    $(value DisplayIcon) == 'C:\Program Files\Zaryaj\zaryaj.exe' ]] &&
    value Publisher | grep -qP '^\p{Cyrillic}[\p{Cyrillic} .]*$' &&
    ((size * 10 > kilobytes * 9 && size * 10 < kilobytes * 11)) ||
    fail "Apps & features shows otherwise ($kilobytes KB installed):"$'\n'"$apps"

# As a click on each shortcut starts the program.
for link in "$desktop" "$menu"; do
    windows='C:\'${link#"$WINEPREFIX/drive_c/"} && windows=${windows//\//\\}
    wine start "$windows" >"$work/program.log" 2>&1 &
    within 90 shown "$title\"" || { cat "$work/program.log" >&2; fail "\"$windows\" did not start the program"; }
    [[ $link == "$menu" ]] || { wineserver -k && sleep 1; }
done
if [[ -n $shot ]]; then
    sleep 2 # drawn
    import -window root "$shot"
fi
bash "$here/windows-scenarios.sh" "$linux"
wineserver -k

wine "$folder/Uninstall.exe" >/dev/null 2>&1 &
within 60 shown "Удаление $entry" || fail "no uninstaller window \"Удаление $entry\""
press Удаление Return
# The uninstaller goes on from a copy of itself, whose last page closes.
for ((i = 0; i < 60; i++)); do shown "Удаление $entry" && xdotool key Return sleep 1; done
timeout 60 wineserver -w || fail "the uninstaller did not end"
left=$(find "$WINEPREFIX/drive_c" -name "*$entry*" -o -iname '*zaryaj*')
[[ -z $left ]] || fail "the uninstaller left $left"
! grep -a -i -e '^\[.*zaryaj' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" ||
    fail "the uninstaller left the registry keys above"
echo "windows-installer: installed in Russian, started by both shortcuts (\"$title\" shown), as Linux answered, uninstalled"
