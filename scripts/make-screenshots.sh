#!/usr/bin/env bash
# Takes the README's pictures from the real program on a private X server: the title screen,
# and a flight a few beats in. Usage: scripts/make-screenshots.sh [build folder]
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
build=${1:-build}
cmake --build "$build" --target pirune >/dev/null
work=$(mktemp -d)
cp -r "$build/game" "$work/game"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
until [[ -s $work/display ]]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb
"$work/game/ピルネノ翼" 2>/dev/null &
window=$(xdotool search --sync --onlyvisible --name '^ピルネノ翼$')
eval "$(xdotool getwindowgeometry --shell "$window")"
shoot() { sleep 0.5 && import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$1"; }
shoot docs/title.png
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
for _ in 1 2 3; do xdotool click 1 && sleep 0.3; done
for _ in $(seq 8); do xdotool click 1 && sleep 0.15; done
shoot docs/flight.png
kill %2
echo "wrote docs/title.png and docs/flight.png"
