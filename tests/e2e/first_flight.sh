#!/usr/bin/env bash
# The real program under X: the window, the title, the opening, a flight and a close.
source "$(dirname "$0")/e2e_lib.sh"

start_x 1280x1024x24
start_game
echo "window $WX,$WY ${WW}x$WH on a screen $SCREEN_H high"
((WH == SCREEN_H / 2)) || fail "window height $WH, not half the screen ($SCREEN_H)"
((WW == WH)) || fail "window not square: ${WW}x$WH"
((WX == (1280 - WW) / 2 && WY == (SCREEN_H - WH) / 2)) || fail "window not centred: $WX,$WY"

sleep 0.5
title_black=$(black_percent)
echo "title: $title_black % black"
((title_black < 20)) || fail "the title picture does not fill the window ($title_black % black)"

click_centre
click_centre
opening_black=$(black_percent)
((opening_black < 20)) || fail "the opening picture is missing ($opening_black % black)"
click_centre 0.2
flight_black=$(black_percent)
echo "flight: $flight_black % black"
((flight_black > 60)) || fail "the flight did not start ($flight_black % black)"
click_centre 0.1
kill -0 "$GAME_PID" || fail "the game ended during the flight"

close_game
size=$(stat -c %s "$WORK/game/scr.dat")
((size == 60)) || fail "scr.dat is $size bytes after the close"
echo "first flight: ok"
