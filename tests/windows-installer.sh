#!/usr/bin/env bash
# The Windows installer on a new machine whose language is not Russian: in a fresh Wine
# prefix on an X server of its own, a user goes through its pages by keys, each seen to
# take effect, in Russian, and reads its licence page through the clipboard; takes the
# default choices (all users, as an administrator); checks what "Apps & features" shows;
# starts the program through the desktop and Start-menu shortcuts until its main window
# shows, twice at once and again over another window, and finds one program, in front;
# plays windows-scenarios.sh on it against the Linux build; uninstalls through the
# uninstaller's pages; and finds no file, shortcut or registry key of the program left.
# Then it installs silently for the user alone (/S /CurrentUser): everything under the
# user's folders and HKCU, started from the user's Start menu, uninstalled to nothing.
# With a third argument, a screenshot of the main window goes there.
#
#   tests/windows-installer.sh build-windows/package/zaryaj-1.0-win64.exe build/app/zaryaj [shot.png]
set -Eeuo pipefail
# A command that fails where nothing says why (a tool's own failure, under -e) says so.
trap 'echo "windows-installer: line $LINENO: $BASH_COMMAND: status $?" >&2' ERR
installer=$(realpath "$1")
linux=$(realpath "$2")
shot=${3:+$(realpath -m "$3")}
here=$(dirname "$(realpath "$0")")
entry=$(sed -n 's/^Name=//p' "$here/../packaging/ru.zaryaj.Directory.desktop")
title=$(grep -A1 '"windowTitle"' "$here/../ui/windows/tform1.ui" | sed -n 's|.*<string>\(.*\)</string>.*|\1|p')

work=$(mktemp -d)
# The licence as the build reads it for the installer.
cmake -DFORM="$here/../ui/windows/tform4.ui" -DOUT="$work/licence.txt" \
    -P "$here/../packaging/windows/licence.cmake"
licence=$(sed '1s/^\xef\xbb\xbf//' "$work/licence.txt" | tr -d '\r')
# No shortcut reaches this machine's own menus or desktop: Wine links the user's folders
# to the home folder and writes menu entries under it (winemenubuilder, even when
# disabled), which are the test's own.
mkdir "$work/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME
export HOME=$work/home LANG=C.UTF-8 WINEPREFIX=$work/wine WINEDEBUG=-all
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
window() {
    local id
    for _ in {1..40}; do
        id=$(xdotool search --name "^$1" 2>/dev/null | head -1) && [[ -n $id ]] && break
        sleep 0.25
    done
    [[ -n $id ]] || fail "no window \"$1\""
    echo "$id"
}
look() { xwd -id "$1" -silent 2>/dev/null | md5sum; }
differs() { [[ $(look "$1") != "$2" ]]; }
# Gives the window whose title begins with $1 the keyboard, presses the keys after it and
# waits until what the window shows changes.
press() {
    local id before
    id=$(window "$1")
    before=$(look "$id")
    xdotool windowfocus --sync "$id" sleep 0.3 key --delay 300 "${@:2}"
    within 20 differs "$id" "$before" || fail "${*:2} changed nothing in \"$1\""
}
# How many of the Windows program's processes run.
programs() { ps -eo args | grep -c '^[A-Z]:.*zaryaj\.exe' || true; }
# Starts the program as a click on the shortcut $1 (a Unix path) does.
start() {
    local windows='C:\'${1#"$WINEPREFIX/drive_c/"}
    wine start "${windows//\//\\}" >>"$work/program.log" 2>&1 &
}
started() {
    within 90 shown "$title\"" || { cat "$work/program.log" >&2; fail "$1 did not start the program"; }
}
# Apps & features from Wine's registry file $1, whose \x escapes are the characters
# beyond ASCII (`wine reg query` prints Cyrillic as "?").
apps() {
    local key='^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Zaryaj\]'
    perl -CSD -ne "print if /$key/ .. /^\$/" "$WINEPREFIX/$1" |
        perl -CSD -pe 's/\\x([0-9a-f]{1,4})/chr(hex $1)/ge; s/\\\\/\\/g'
}
# A value of the entry read last.
value() { sed -n "s/^\"$1\"=\"\?\([^\"]*\)\"\?$/\1/p" <<<"$apps"; }
nothing_left() {
    local left
    left=$(find "$WINEPREFIX/drive_c" -name "*$entry*" -o -iname '*zaryaj*')
    [[ ! -e $HOME/$entry.lnk ]] || left+=" $HOME/$entry.lnk"
    [[ -z $left ]] || fail "the uninstaller left $left"
    ! grep -a -i -e '^\[.*zaryaj' "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" ||
        fail "the uninstaller left the registry keys above"
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
# For whom: an administrator is offered all users; Up chooses the user alone, Down all
# users again, where the files are then found.
press Установка Up
press Установка Down
press Установка Return
press Установка ctrl+a ctrl+c
[[ $(xclip -o -selection clipboard | tr -d '\r') == "$licence" ]] ||
    fail "the licence page does not show the text of the \"Лицензия\" window"
# The licence accepted, the components (the desktop shortcut chosen) and the folder as
# offered; the last page comes once the files are in.
press Установка Return
press Установка Return
press Установка Return
within 120 test -f "$WINEPREFIX/drive_c/users/Public/Desktop/$entry.lnk" ||
    fail "the installer put no desktop shortcut"
sleep 2 # the last page
xdotool windowfocus --sync "$(window Установка)" key Return
wait "$setup" || { cat "$work/installer.log" >&2; fail "the installer failed"; }
wineserver -w # Wine writes its registry files

folder="$WINEPREFIX/drive_c/Program Files/Zaryaj"
[[ -f $folder/zaryaj.exe && -f $folder/zaryaj-print.dll ]] || fail "nothing installed in $folder"
menu=$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name "$entry.lnk")
desktop=$(find "$WINEPREFIX/drive_c" -path '*Desktop*' -name "$entry.lnk")
[[ -n $menu && -n $desktop ]] || fail "no Start-menu entry or desktop shortcut named \"$entry\""
apps=$(apps system.reg)
kilobytes=$(find "$folder" -type f -printf '%s\n' | awk '{ sum += $1 } END { print int(sum / 1024) }')
size=$(($(value EstimatedSize | sed 's/dword:/0x/')))
[[ $(value DisplayName) == "$entry" && $(value DisplayVersion) =~ ^[0-9]+\.[0-9]+$ &&
    $(value InstallLocation) == 'C:\Program Files\Zaryaj' &&
    $(value DisplayIcon) == 'C:\Program Files\Zaryaj\zaryaj.exe' ]] &&
    value Publisher | grep -qP '^\p{Cyrillic}[\p{Cyrillic} .]*$' &&
    ((size * 10 > kilobytes * 9 && size * 10 < kilobytes * 11)) ||
    fail "Apps & features shows otherwise ($kilobytes KB installed):"$'\n'"$apps"

# As a click on each shortcut starts the program; two clicks at once start one program.
start "$desktop"
first=$!
start "$desktop"
wait "$first" $! # both programs created
started "the desktop shortcut"
one() { (($(programs) == 1)); }
within 30 one || fail "two starts at once left $(programs) programs"
wineserver -k && sleep 1
start "$menu"
started "the Start-menu entry"
# Started again under another window, the program comes forward: one program, one main
# window, now on top. (Without a window manager, Wine moves no keyboard focus between
# programs: that part is not seen here.)
wine notepad >/dev/null 2>&1 &
notepad=$(window Untitled)
xdotool windowraise "$notepad"
# xwininfo lists the top window first.
above() { xwininfo -root -children | grep -B99 "$(printf '0x%x ' "$2")" | grep -qF "\"$1\""; }
within 10 eval '! above "$title" "$notepad"' || fail "the program did not go under Notepad"
start "$menu"
within 30 above "$title" "$notepad" || fail "a second start left the program under another window"
within 30 one && (($(xdotool search --onlyvisible --name "^$title\$" | wc -l) == 1)) ||
    fail "a second start left $(programs) programs"
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
within 60 eval '[[ ! -e $folder/zaryaj.exe ]]' || fail "the uninstaller removed nothing"
sleep 2 # its last page
xdotool windowfocus --sync "$(window Удаление)" key Return
timeout 60 wineserver -w || fail "the uninstaller did not end"
nothing_left

# For the user alone, silently: the user's own folders, HKCU's keys, none of HKLM's.
wine "$installer" /S /CurrentUser >"$work/installer.log" 2>&1 ||
    { cat "$work/installer.log" >&2; fail "the installer for the user alone failed"; }
wineserver -w
user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public -printf '%f\n')
folder="$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Zaryaj"
menu="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$entry/$entry.lnk"
[[ -f $folder/zaryaj.exe && -f $menu && -f $HOME/$entry.lnk ]] ||
    fail "not in the user's program folder, Start menu and desktop"
[[ -z $(find "$WINEPREFIX/drive_c" -path "$WINEPREFIX/drive_c/users/$user" -prune -o \
    \( -name "*$entry*" -o -iname '*zaryaj*' \) -print) ]] || fail "installed outside the user's folders"
[[ -z $(apps system.reg) ]] || fail "the install for the user alone wrote HKLM's keys"
apps=$(apps user.reg)
[[ $(value InstallLocation) == "C:\\users\\$user\\AppData\\Local\\Programs\\Zaryaj" ]] ||
    fail "HKCU's Apps & features entry shows otherwise:"$'\n'"$apps"
start "$menu"
started "the user's Start-menu entry"
wineserver -k
wine "$folder/Uninstall.exe" /S >/dev/null 2>&1
timeout 60 wineserver -w || fail "the uninstaller did not end"
nothing_left
echo "windows-installer: installed in Russian, started by both shortcuts (\"$title\" shown, one program," \
    "in front when started again), as Linux answered, uninstalled; for the user alone likewise"
