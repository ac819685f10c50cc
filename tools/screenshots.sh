#!/usr/bin/env bash
# Takes the screenshots of docs/using.md: starts the program on a virtual X server
# (Xvfb) with a window manager in the Windows 95 style the program follows (IceWM), types
# into it as a user would (xdotool) and photographs each window at its own size with its
# title bar (ImageMagick's import) into docs/screenshots/. Run it again after changing a
# window.
#
#   bash tools/screenshots.sh
#   ZARYAJ_SCALE=2 bash tools/screenshots.sh   # a 2048 x 1536 screen at twice the size,
#                                              # every window, into docs/screenshots/2x/
set -euo pipefail

cd "$(dirname "$0")/.."
packages=(xvfb icewm xdotool imagemagick)
source tools/install-missing.sh
install_missing "${packages[@]}"

build=build
as_user=()
source tools/presets.sh
configure normal "$build"
build normal "$build" --target zaryaj

scale=${ZARYAJ_SCALE:-1}
out=docs/screenshots
screen=1024x768x24
if [[ $scale != 1 ]]; then
    out=docs/screenshots/${scale}x
    screen=2048x1536x24
    export QT_SCALE_FACTOR=$scale
fi
mkdir -p "$out"
work=$(mktemp -d)
xvfb=
wm=
program=
cleanup() {
    [[ -z $program ]] || kill "$program" 2>/dev/null || true
    [[ -z $wm ]] || kill "$wm" 2>/dev/null || true
    [[ -z $xvfb ]] || kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the given descriptor.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 50); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || {
    cat "$work/xvfb.log" >&2
    exit 1
}
export DISPLAY=:$(<"$work/display")
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Title bars and frames only: no task bar, no background program.
export ICEWM_PRIVCFG=$work/icewm
mkdir "$ICEWM_PRIVCFG"
printf '%s\n' 'Theme="win95/default.theme"' ShowTaskBar=0 >"$ICEWM_PRIVCFG/preferences"
icewm >"$work/icewm.log" 2>&1 &
wm=$!
for _ in $(seq 50); do
    [[ -n $(xdotool search --classname icewm 2>/dev/null) ]] && break
    sleep 0.1
done

"$build/app/zaryaj" &
program=$!

# The visible window whose title is exactly $1.
window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
# Lets the program handle what was typed and repaint before the photograph.
settle() { sleep 0.7; }
shoot() {
    import -frame -window "$1" "$out/$2.png"
    echo "$out/$2.png: $(identify -format '%wx%h' "$out/$2.png")"
}

main=$(window 'Телефонный справочник п. Заряй 2003')
# The number box has the focus in the window.
xdotool windowactivate --sync "$main"
settle

# An empty number brings up a prompt window; its "Ok" has the focus and closes it.
xdotool key Return
prompt=$(window 'Заряй 2003')
xdotool windowactivate --sync "$prompt"
settle
shoot "$prompt" prompt
xdotool key Return

# An answer in the grid: a number that two subscribers share.
main=$(window 'Телефонный справочник п. Заряй 2003')
xdotool windowactivate --sync "$main"
xdotool type --delay 60 52123
xdotool key Return
settle
shoot "$main" main

# The About tab is the fifth; the answer stays in the grid.
xdotool key ctrl+Tab ctrl+Tab ctrl+Tab ctrl+Tab
settle
shoot "$main" about

[[ $scale != 1 ]] || exit 0
# At another scale, every window: the pictures are reached by Tab, each opens its window
# on Enter, and Escape closes it again.
xdotool key shift+Tab Tab Tab
settle
shoot "$main" about-focus
for name in author:'От автора' licence:'Лицензия' editor:'Редактор Базы Данных'; do
    xdotool key Return
    shown=$(window "${name#*:}")
    xdotool windowactivate --sync "$shown"
    settle
    shoot "$shown" "${name%%:*}"
    xdotool key Escape
    main=$(window 'Телефонный справочник п. Заряй 2003')
    xdotool windowactivate --sync "$main"
    xdotool key Tab
done
