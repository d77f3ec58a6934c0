#!/usr/bin/env bash
# Flying too high: the wings melt and the hero sinks faster until he falls; in a second flight
# he keeps beating at the top until his wings are gone. Each closing text leads to the title.
source "$(dirname "$0")/e2e_lib.sh"

start_x 1024x768x24
start_game
keep_title
open_to_flight "the flight start"

# Straight up: 17 beats lift him from 50 past 100, where the label says "つ、翼が溶ける", one line
# far wider than the distance.
fly "the climb" 30 200 20 white_rows=1 'white_right>18'
[[ $(value met) == 1 ]] || fail "no melt message: $LAST"
beats=$(value beats)
((beats >= 17 && beats <= 22)) || fail "the wings melted after $beats beats"
# It stays until the next distance; without beats he sinks, now more than one unit a tick.
steady "the melt message" 1 white_rows=1 'white_right>18'
falling_from=$(reading altitude | cut -d. -f1)
see "the hero sinking" 5 "altitude<$((falling_from - 8))"

# He falls to the bottom: three lines of white text at the left, no picture.
see "the fall" 30 white_rows=3 'white_left<1' 'white_right>30' 'white_bottom<16' 'black>50'
turn_page
see "the title after the fall" 'differs<1'

open_to_flight "the second flight"
# Up and on beating at the top: every beat there melts the wings, the tenth time they are gone.
fly "the last climb" 60 200 30
[[ $(value ended) == 1 ]] || fail "the wings did not go: $LAST"
# 17 beats to the top, then a melt at every beat there and at some ticks.
beats=$(value beats)
((beats >= 20)) || fail "the wings went after only $beats beats"
# Two lines right of the hero, who stays where he was last drawn, at the top.
see "the wings gone" white_rows=2 'white_right>30' 'white_bottom<12' hero=1 'hero_top<8'
turn_page
see "the title after the wings" 'differs<1'
game_alive "after the falls"
close_game
done_run
