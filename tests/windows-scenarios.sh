#!/usr/bin/env bash
# The installed Windows program on Qt's real windows platform, played by keys as a user
# would, along the windows' keyboard order, and read back through the clipboard, answer
# for answer against the Linux build on the same X server: a prompt and its Ok, a
# number with two owners, a surname typed in Cyrillic, the whole listing. Each key's
# effect is seen: a window shown or gone, the clipboard filled, the answers' words. Run
# by windows-installer.sh while the installed program's main window is shown (DISPLAY
# and WINEPREFIX set, a us,ru layout).
#
#   tests/windows-scenarios.sh build/app/zaryaj
set -euo pipefail
program=
trap '[[ -z $program ]] || kill "$program"' EXIT

# Cyrillic goes to Wine as key presses of the layout's own keysyms; those follow KOI8-R.
keys() { printf %s "$1" | iconv -f UTF-8 -t KOI8-R | od -An -tx1 -v | sed 's/ \([c-f][0-9a-f]\|[ab]3\)/ 0x6\1/g'; }
# The program's windows that are shown, by title and size.
shown() {
    local id
    for id in $(xdotool search --onlyvisible --classname "^$class\$" 2>/dev/null); do
        echo "$(xdotool getwindowname "$id" 2>/dev/null) $(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p')"
    done | grep -v '^Default IME' | sort
}
# The one window shown once another has taken the place of $1. (Without a window manager,
# Wine hides a window two seconds late, waiting for one.)
changed() {
    local now
    for ((i = 0; i < 60; i++)); do
        now=$(shown)
        [[ $now != "$1" && $now != *$'\n'* ]] && break
        sleep 0.5
    done
    echo "$now"
}
# Gives window $1 the keyboard and presses the keys after it.
at() { xdotool windowfocus --sync "$1" sleep 0.3 key --delay 150 "${@:2}"; }
# The grid's "Копировать всё", from its context menu (the grid has the focus), once the
# clipboard holds it.
copy() {
    xclip -selection clipboard </dev/null >/dev/null
    at "$main" Menu sleep 0.5 key --delay 150 Down Down Return
    for ((i = 0; i < 60; i++)); do
        [[ -n $(xclip -o -selection clipboard) ]] && break
        sleep 0.5
    done
    xclip -o -selection clipboard | tr -d '\r'
}

# The number box has the focus at the start and again after a prompt. In the keyboard
# order the grid follows the number box and the About tab's pictures, and Ctrl+Tab
# leaves the focus on the tabs' bar, from which Tab enters the page.
play() {
    class=$1
    main=$(xdotool search --sync --onlyvisible --classname "^$class\$" | head -1)
    local windows
    windows=$(shown)
    at "$main" Return && windows=$(changed "$windows") && echo "$windows"
    at "$(xdotool search --onlyvisible --classname "^$class\$" | grep -vx "$main" | head -1)" Return
    changed "$windows"
    at "$main" 2 2 5 1 5 Return Tab && copy
    at "$main" shift+Tab ctrl+Tab Tab $(keys Семёнов) Return Tab Tab Tab Tab && copy
    at "$main" shift+Tab ctrl+Tab ctrl+Tab ctrl+Tab Tab Return Tab Tab Tab Tab Tab && copy
}

# With no session bus, the Linux build runs alone.
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent QT_QPA_PLATFORM=xcb "$1" 2>/dev/null &
program=$!
linux=$(play zaryaj)
# Gone with all its windows before the Windows program is played, lest a click land on one.
kill "$program" && wait "$program" || true
program=
windows=$(play zaryaj.exe)
lines=$(wc -l <<<"$linux")
((lines > 1790)) && grep -q '^2-25-15' <<<"$linux" && grep -q '^[0-9-]*.Семёнов' <<<"$linux" ||
    { echo "windows-scenarios: the Linux build gave too little:"$'\n'"$linux" >&2; exit 1; }
diff -u <(echo "$linux") <(echo "$windows") >&2 ||
    { echo "windows-scenarios: the Windows program answered otherwise" >&2; exit 1; }
echo "windows-scenarios: $lines lines of answers as the Linux build's"
