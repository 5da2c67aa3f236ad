#!/usr/bin/env bash
# Makes the AppStream screenshots from the game itself: its window under openbox on a
# virtual display, first the board, then the options dialog over it.
# Usage: packaging/screenshots/make.sh [BUILD]   (needs xvfb, openbox, xdotool, imagemagick)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
if [[ -z "${TORVELLA_SHOTS_DISPLAY:-}" ]]; then
  TORVELLA_SHOTS_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi
work=$(mktemp -d)
cleanup() { kill "${game:-}" "${wm:-}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
mkdir -p "$work/Quorlix/Torvella"
printf '[common]\ntongue=0\n' >"$work/Quorlix/Torvella/V1.ini"
openbox & wm=$!
sleep 1
XDG_CONFIG_HOME=$work SDL_AUDIODRIVER=dummy "$build/app/torvella" & game=$!
win=$(xdotool search --sync --onlyvisible --name '^Torvella')
sleep 2
shot() { import -window root -crop "$(frame)" +repage "$here/$1"; }
# The window with its title bar: openbox's frame is the parent of the program's window.
frame() {
  local parent
  parent=$(xwininfo -tree -id "$win" | awk '/Parent window id/ {print $4}')
  xwininfo -id "$parent" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}'
}
shot board.png
width=$(xdotool getwindowgeometry "$win" | awk '/Geometry/ {split($2, s, "x"); print s[1]}')
xdotool mousemove --window "$win" $((width - 183)) 29 click 1
sleep 2
shot options.png
echo "written: $here/board.png $here/options.png"
