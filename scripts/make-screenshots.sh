#!/usr/bin/env bash
# Takes the README's pictures from the real program under a private X server: the title
# screen, and a flight a few beats in. Usage: scripts/make-screenshots.sh [build folder]
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."
build=${1:-build}
cmake --build "$build" --target pirune xdriver >/dev/null
export XDRIVER="$PWD/$build/tests/e2e/xdriver" GAME_DIR="$PWD/$build/game" OUT_DIR="$PWD/$build"
source tests/e2e/e2e_lib.sh

shoot() { import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$1"; }

start_x 1280x1024x24
start_game
sleep 1
shoot docs/title.png
click_centre
click_centre
click_centre 0.3
for _ in $(seq 8); do click_centre 0.15; done
sleep 0.4
shoot docs/flight.png
close_game
echo "wrote docs/title.png and docs/flight.png"
