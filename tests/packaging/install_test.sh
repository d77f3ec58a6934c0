#!/usr/bin/env bash
# Installs the game into a fresh prefix and checks what a desktop needs to start it.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
game="$prefix/share/pirune/game"
for f in "ピルネノ翼" stt.bmp open0.bmp open1.bmp end0.bmp end1.bmp o.wav; do
  [[ -s $game/$f ]] || { echo "missing in the game folder: $f"; exit 1; }
done
[[ -x $game/ピルネノ翼 ]] || { echo "the program is not executable"; exit 1; }
[[ -w $game ]] || { echo "the game folder is not writable"; exit 1; }

entry=$(ls "$prefix"/share/applications/*.desktop)
desktop-file-validate "$entry"
grep -qx "Exec=\"$game/ピルネノ翼\"" "$entry" || { echo "Exec does not name the program"; cat "$entry"; exit 1; }
grep -qx "Comment=ピルネよ、君は何処までも飛んでいけ" "$entry" || { echo "no comment"; exit 1; }
appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.metainfo.xml

id=$(basename "$entry" .desktop)
for size in 16 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [[ $(identify -format '%wx%h' "$icon") == "${size}x${size}" ]] || { echo "bad icon $icon"; exit 1; }
done
echo "installed and valid: $prefix"
