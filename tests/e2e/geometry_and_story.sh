#!/usr/bin/env bash
# The window as the player first sees it, the title, the two opening pages and the start of a
# flight: the hero at half height sinking with the flight timer and lifted by a wing beat.
source "$(dirname "$0")/e2e_lib.sh"

# An odd screen, so that half its height and the centring are no round numbers.
start_x 1600x900x24
start_game
say "window $WIN at $WX,$WY, ${WW}x$WH, client ${CW}x$CH below a bar of $BAR px"
((WH == SCREEN_H / 2)) || fail "window height $WH, not half the screen ($SCREEN_H)"
((WW == WH)) || fail "window not square: ${WW}x$WH"
((WX == (SCREEN_W - WW) / 2 && WY == (SCREEN_H - WH) / 2)) || fail "window not centred: $WX,$WY"
((BAR > 10 && BAR < WH / 8)) || fail "no menu bar above the client area ($BAR px)"
((CY == WY + BAR && CH == WH - BAR && CW == WW)) || fail "client area $CX,$CY ${CW}x$CH"

keep_title

turn_page
see "opening page 0" pic=open0 dark_rows=3 'dark_centre>45' 'dark_centre<55'
turn_page
see "opening page 1" pic=open1 dark_rows=3 'dark_centre>45' 'dark_centre<55'

turn_page
# The flight: black, the hero at the left at altitude 50 (he may have sunk by a tick or two),
# 10 units wide and 30 high, the distance 1 at the top left, the shapes twinkling.
see "the flight start" 'black>50' pic=none hero=1 'altitude>=47' 'altitude<=51' 'hero_left<1.5' \
  'hero_right>7' 'hero_right<11' white_rows=1 'white_left<1' 'white_right<4'
height=$(($(value hero_bottom | cut -d. -f1) - $(value hero_top | cut -d. -f1)))
((height >= 24 && height <= 30)) || fail "the hero's figure is $height units high: $LAST"
see "the background shapes" 'coloured>100'

# The flight timer pulls him down, tick by tick.
start_altitude=$(reading altitude | cut -d. -f1)
see "the hero sinking" 5 "altitude<=$((start_altitude - 2))"
before=$(reading altitude | cut -d. -f1)
frame=$(value hero_frame)
beat
# One beat lifts him by 3 and turns his wings; a tick may have taken one back.
see "a wing beat" 2 "altitude>=$((before + 2))" "hero_frame!=$frame"
say "altitude $start_altitude, sunk to $before, beaten up to $(value altitude)"
game_alive "during the flight"

close_game
size=$(stat -c %s "$WORK/game/scr.dat")
((size == 60)) || fail "scr.dat is $size bytes after the close"
data=$(hex_of "$WORK/game/scr.dat")
for i in 0 1 2 3 4; do
  blank_record "${data:$((i * 24)):24}" || fail "record $((i + 1)) is not blank: ${data:$((i * 24)):24}"
done
done_run
